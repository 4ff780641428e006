#!/usr/bin/env bash
# The engine protocol (veverodu-cli uci) and the FEN commands, spoken to as a
# tournament runner would.
set -u
cli="$1"
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; fail=1
  fi
}
# Runs a whole conversation; prints the replies.
talk() { printf '%s\n' "$@" | timeout 60 "$cli" uci; }
# Sends the lines, then prints the replies up to the first bestmove before quitting.
search() {
  coproc SEARCH { timeout 60 "$cli" uci; }
  # bash clears SEARCH and SEARCH_PID once the program has ended: keep them at once.
  local pid=$SEARCH_PID in=${SEARCH[0]} out=${SEARCH[1]}
  printf '%s\n' "$@" >&"$out"
  while read -r -t 30 line <&"$in"; do
    echo "$line"
    case "$line" in bestmove*) break ;; esac
  done
  echo quit >&"$out" 2>/dev/null
  wait "$pid"
}

START_FEN='lns+nk+nsnl/1+p5+s1/ppppppppp/9/9/9/PPPPPPPPP/1+S5+P1/LNS+NK+NSNL[] w - - 0 1'
START='lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0'

# The greeting and the options, then readiness.
out=$(talk uci isready quit)
check "uci: greeting" "id name Veverodu LEVEL4" "$(sed -n 1p <<<"$out")"
check "uci: the variant option" 1 "$(grep -cx 'option name UCI_Variant type combo default veverodu var veverodu' <<<"$out")"
check "uci: Hash and Threads" 2 "$(grep -cE '^option name (Hash|Threads) type spin default [0-9]+ min 1 max [0-9]+$' <<<"$out")"
check "uci: uciok then readyok" "uciok readyok" "$(tail -2 <<<"$out" | tr '\n' ' ' | sed 's/ $//')"

# Positions: the start, moves with faces, and the FEN read back.
out=$(talk "position startpos moves e3e4+ e7e6+ e4e6-" d quit)
check "position with moves" "Fen: lns+nk+nsnl/1+p5+s1/pppp1pppp/4P4/9/9/PPPP1PPPP/1+S5+P1/LNS+NK+NSNL[P]" \
  "$(cut -d' ' -f1-2 <<<"$out")"
check "side and move number" "b - - 0 2" "$(cut -d' ' -f3- <<<"$out")"
out=$(talk "position fen 4k4/9/9/9/9/9/9/9/4K4[SPnl] b - - 0 9 moves +N@e5 P@e4" d quit)
check "drops of either face" "Fen: 4k4/9/9/9/4+n4/4P4/9/9/4K4[Sl] b - - 0 10" "$out"

# Bad lines and illegal moves: one info string naming the line, nothing changed.
out=$(talk "position startpos moves e3e4+" \
  "position startpos moves e3e4+ e7e6- " "position startpos moves e3e5+" "position startpos moves e7e6+" \
  "position startpos moves P@e5" "position fen 9/9/9 w" "position fen $START_FEN moves e3e4" "position" \
  "position startpos moves x" "setoption name Hash value big" "setoption name Threads value 0" \
  "setoption name UCI_Variant value chess" "setoption name Colour value red" "go depth zero" "go sideways" \
  "setoption name MateTest value maybe" "frobnicate" d quit)
check "refusals: one info string each" 16 "$(grep -c '^info string ' <<<"$out")"
check "refusals: the illegal face is named" 1 "$(grep -c "^info string illegal move 'e7e6-'.*in 'position startpos moves e3e4+ e7e6- '" <<<"$out")"
check "refusals: the bad go is named" 1 "$(grep -c "^info string .*'go depth zero'" <<<"$out")"
check "refusals: no search started" 0 "$(grep -c '^bestmove' <<<"$out")"
check "refusals: the position stays (board)" \
  "Fen: lns+nk+nsnl/1+p5+s1/ppppppppp/9/9/4+P4/PPPP1PPPP/1+S5+P1/LNS+NK+NSNL[] b - - 0 1" "$(grep '^Fen' <<<"$out")"
# A rejected option value leaves the option as it was: a later valid value still works.
out=$(talk "setoption name Hash value 1" "setoption name Threads value 1" "setoption name uci_variant value VEVERODU" \
  "setoption name MateTest value true" isready quit)
check "options accepted quietly" "readyok" "$out"

# A search: progress lines in the protocol's shape, then a legal move.
out=$(search "position startpos moves e3e4+" "go depth 3")
best=$(grep '^bestmove' <<<"$out" | cut -d' ' -f2)
check "go depth: info lines" 1 "$(grep -cE '^info depth 3 seldepth [0-9]+ score (cp -?[0-9]+|mate -?[0-9]+) nodes [0-9]+ nps [0-9]+ time [0-9]+ pv [a-i1-9+@PLNS -]+$' <<<"$out" | grep -c '^[1-9]')"
fen_after=$("$cli" fen "$("$cli" position "lns+nk+nsnl/1+p5+s1/ppppppppp/9/9/4+P4/PPPP1PPPP/1+S5+P1/LNS+NK+NSNL[] b")" top)
check "go depth: the top side's move is legal" 1 "$("$cli" moves "$fen_after" | grep -cx -- "$best")"

# Either side may be to move: each takes the other king when it can; the
# bottom side's search runs on the turned board and its moves come back turned.
out=$(search "position fen 4k4/9/9/9/9/9/9/4+P4/4K4[] w - - 0 1" "go depth 2")
check "bottom side takes the king" "bestmove e2e9-" "$(grep '^bestmove' <<<"$out")"
check "bottom side's variation turned back" 1 "$(grep -c '^info depth .* pv e2e9-' <<<"$out" | grep -c '^[1-9]')"
out=$(search "position fen 4k4/4+p4/9/9/9/9/9/9/4K4[] b - - 0 1" "go nodes 2000")
check "top side takes the king" "bestmove e8e1-" "$(grep '^bestmove' <<<"$out")"
out=$(search "position fen 4k4/9/9/9/9/9/9/9/4K4[P] w - - 0 1" "go movetime 100")
best=$(grep '^bestmove' <<<"$out" | cut -d' ' -f2)
check "movetime: a legal move" 1 "$("$cli" moves '4k4/9/9/9/9/9/9/9/4K4[P] w' | grep -cx -- "$best")"
out=$(search "position startpos" "go wtime 2000 btime 2000 winc 10 binc 10 movestogo 5")
check "clock: a move" 1 "$(grep -c '^bestmove [a-i]' <<<"$out")"

# stop during go infinite: no answer before it, a move at once after it.
coproc ENGINE { timeout 60 "$cli" uci; }
engine_pid=$ENGINE_PID engine_in=${ENGINE[0]} engine_out=${ENGINE[1]}
echo "position startpos" >&"$engine_out"
echo "go infinite" >&"$engine_out"
sleep 1
echo "isready" >&"$engine_out"
early=""
while read -r -t 5 line <&"$engine_in"; do
  case "$line" in bestmove*) early="$line"; break ;; readyok) break ;; esac
done
check "go infinite: isready answered while searching" "" "$early"
echo "stop" >&"$engine_out"
answer=""
while read -r -t 10 line <&"$engine_in"; do
  case "$line" in bestmove*) answer="$line"; break ;; esac
done
check "stop: a bestmove" 1 "$(grep -cE '^bestmove [a-i][1-9][a-i][1-9][+-]?$' <<<"$answer")"
echo "quit" >&"$engine_out"
wait "$engine_pid"; status=$?
check "quit: the program ends" 0 "$status"

# The FEN commands carry a position both ways.
check "fen of the start" "$START_FEN" "$("$cli" fen "$START")"
check "position of the start" "$START" "$("$cli" position "$START_FEN")"
check "fen with the top side to move" "lns+nk+nsnl/1+p5+s1/ppppppppp/9/9/9/PPPPPPPPP/1+S5+P1/LNS+NK+NSNL[] b - - 0 7" \
  "$("$cli" fen "$START" top --move 7)"
for args in "fen" "fen 9/9 0,0,0,0 0,0,0,0" "fen START sideways" "position" "position 9/9/9[] w" \
            "position 4k4/9/9/9/9/9/9/9/4K4[X] w" "position 4k4/9/9/9/9/9/9/9/4+K4[] w" "moves nonsense" "uci extra"; do
  # shellcheck disable=SC2086
  out=$("$cli" ${args/START/$START} 2>/tmp/veverodu_uci_err); status=$?
  check "exit status of '$args'" 2 "$status"
  check "no output for '$args'" "" "$out"
done
check "moves from the start" 30 "$("$cli" moves "$START_FEN" | wc -l)"

exit $fail
