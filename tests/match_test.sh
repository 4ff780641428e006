#!/usr/bin/env bash
# The match tool judges games by our rules, whatever the engines say: scripted
# engines (tests/fake_engine.sh) play fixed moves.
set -u
cli="$1"
fake="$2"
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; fail=1
  fi
}
records=$(mktemp -d)
trap 'rm -rf "$records"' EXIT
match() { timeout 300 "$cli" match --opening-plies 0 --movetime 50 --player-name A --opponent-name B "$@" 2>/dev/null; }

# A king taken ends the game at once: the bottom side's seventh move takes it.
# Game 0: A is the top side and loses; game 1: A is the bottom side and wins.
out=$(match --player-engine "$fake king" --engine "$fake king" --games 2 --records "$records")
check "king capture, A on top" "game 0 A top result loss end king moves 7" "$(grep '^game 0' <<<"$out")"
check "king capture, A at the bottom" "game 1 A bottom result win end king moves 7" "$(grep '^game 1' <<<"$out")"
check "king capture: the score" "games 2 wins 1 draws 0 losses 1 score 50.0%" "$(grep '^games' <<<"$out")"
check "the record file: three header lines and seven moves" 10 "$(wc -l <"$records/game-000000.棋譜")"
# The last move: the rook from (5, 2) to (5, 1), turning to a pawn, takes the top king (950).
check "the record file: the capture" " 5251 -10-900 950" "$(tail -1 "$records/game-000000.棋譜" | cut -c1-17)"
check "the record file: top player, then bottom" "A B" "$(sed -n '3p;2p' "$records/game-000000.棋譜" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//' | awk '{print $1, $2}')"

# An opening from a file: the game goes on from its moves.
printf '# two plies of the scripted game\ne3e4+ a7a6+\n' > "$records/openings"
out=$(match --player-engine "$fake king" --engine "$fake king" --games 2 --openings "$records/openings")
check "opening file: the game goes on from it" "7 7" "$(grep '^game ' <<<"$out" | awk '{print $10}' | tr '\n' ' ' | sed 's/ $//')"
printf 'e3e4+ e7e6-\n' > "$records/bad_openings"
"$cli" match --openings "$records/bad_openings" 2>/dev/null; status=$?
check "opening file with an illegal move: refused" 2 "$status"

# The game itself loads the record and replays its moves.
cli=$(realpath "$cli")
loaded=$(cd "$records" && printf 'load game-000001.棋譜\nstate\n' | "$cli" play | grep '^state')
check "the record file loads in the game" 1 "$(grep -c 'record_length=7 ' <<<"$loaded")"

# Kings stepping back and forth for 500 moves: the 500th move ends the game undecided.
out=$(match --player-engine "$fake shuffle" --engine "$fake shuffle" --games 1)
check "500 moves: a draw" "game 0 A top result draw end limit moves 500" "$(grep '^game ' <<<"$out")"

# An illegal move, no move, and a program that ends lose the game for it, with a note.
out=$(match --player-engine "$fake king" --engine "$fake illegal" --games 2)
check "illegal move: A on top wins" "game 0 A top result win end illegal moves 0" "$(grep '^game 0' <<<"$out")"
check "illegal move: the note" 1 "$(grep -c "^note game 0 B at move 1: illegal move 'h2h9-'" <<<"$out")"
check "illegal move: A at the bottom" "game 1 A bottom result win end illegal moves 1" "$(grep '^game 1' <<<"$out")"
out=$(match --player-engine "$fake king" --engine "$fake none" --games 1)
check "no move: a loss for it" "game 0 A top result win end nomove moves 0" "$(grep '^game ' <<<"$out")"
out=$(match --player-engine "$fake king" --engine "$fake quit" --games 2)
check "a program that ends: a loss for it" "win win" "$(grep '^game ' <<<"$out" | awk '{print $6}' | tr '\n' ' ' | sed 's/ $//')"

# Our own player against a program, the games spread over two copies: every
# game is counted once, the summary has the Elo line.
out=$(match --engine "$fake king" --games 4 --jobs 2 --movetime 20)
check "spread: four games" 4 "$(grep -c '^game ' <<<"$out")"
check "spread: indices" "0 1 2 3" "$(grep '^game ' <<<"$out" | awk '{print $2}' | sort -n | tr '\n' ' ' | sed 's/ $//')"
check "spread: the summary" 1 "$(grep -cE '^elo -?[0-9.]+ \+- [0-9.]+ \(95%, pentanomial\)$' <<<"$out")"

# Bad options change nothing and say why.
for args in "--engine" "--player level5" "--sprt 10,0" "--records /nonexistent/folder" "--openings /nonexistent" \
            "--option Hash" "--player level4 --opponent level4" "--engine /bin/true --movetime 0"; do
  # shellcheck disable=SC2086
  out=$("$cli" match $args 2>/dev/null); status=$?
  check "exit status of 'match $args'" 2 "$status"
  check "no output for 'match $args'" "" "$out"
done

exit $fail
