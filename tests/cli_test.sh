#!/usr/bin/env bash
# The command line's contract: output shapes, exit codes, bad input.
set -u
cli="$1"
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; fail=1
  fi
}
START='lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL 0,0,0,0 0,0,0,0'

# Bad input: one line on standard error, exit status 2, nothing on standard output.
for args in "legal" "legal 9/9/9" "legal 9/9/9/9/9/9/9/9/9 0,0,0 0,0,0,0" "legal 9/9/9/9/9/9/9/9/8 0,0,0,0 0,0,0,0" \
            "legal 9/9/9/9/9/9/9/9/X8 0,0,0,0 0,0,0,0" "legal 9/9/9/9/9/9/9/9/9 0,0,0,100 0,0,0,0" \
            "com START --level 4" "bogus" "bench /nonexistent/file"; do
  # shellcheck disable=SC2086
  out=$("$cli" ${args/START/$START} 2>/tmp/veverodu_cli_err); status=$?
  check "exit status of '$args'" 2 "$status"
  check "no output for '$args'" "" "$out"
  check "one error line for '$args'" 1 "$(wc -l </tmp/veverodu_cli_err)"
done

# Without arguments the usage goes to standard error; --help prints it on standard output.
out=$("$cli" 2>/tmp/veverodu_cli_err); status=$?
check "no arguments: status" 2 "$status"
check "no arguments: nothing on standard output" "" "$out"
check "no arguments: usage on standard error" "usage: veverodu-cli COMMAND ..." "$(head -1 /tmp/veverodu_cli_err)"
check "--help: usage on standard output" "usage: veverodu-cli COMMAND ..." "$("$cli" --help | head -1)"

# Bad bytes in the input stay on one escaped error line.
"$cli" legal "$(printf 'bad\nline\001\377')" 2>/tmp/veverodu_cli_err; status=$?
check "line feed in input: status" 2 "$status"
check "line feed in input: one line" 1 "$(wc -l </tmp/veverodu_cli_err)"
printf 'bogus\001\377 line\nstart\n' | "$cli" play > /tmp/veverodu_cli_out
check "play: bad bytes escaped" 'error bogus\x01\xFF line' "$(head -1 /tmp/veverodu_cli_out)"

# A failed write is an error, never a silent success.
if [ -w /dev/full ]; then
  "$cli" legal "$START" > /dev/full 2>/tmp/veverodu_cli_err; status=$?
  check "full disk: status" 2 "$status"
  check "full disk: one error line" 1 "$(wc -l </tmp/veverodu_cli_err)"
fi

# A bench file that cannot be read part way is an error.
printf '%s\n\0bad\n' "$START" > /tmp/veverodu_cli_bench
out=$("$cli" bench /tmp/veverodu_cli_bench 2>/tmp/veverodu_cli_err); status=$?
check "bench with a NUL: status" 2 "$status"
check "bench with a NUL: no partial result" "" "$out"

# The start position: 30 moves per side on the board, no drops.
check "legal moves at the start" 60 "$("$cli" legal "$START" | wc -l)"
check "first legal line" "1 1 1 2 20" "$("$cli" legal "$START" | head -1)"

# Drops come after board moves, computer first, person last.
out=$("$cli" legal "4k4/9/9/9/9/9/9/9/4K4 1,0,0,0 0,0,0,1")
check "computer pawn drop" "-1 1 1 1 10" "$(echo "$out" | grep '^-1 ' | head -1)"
check "computer rook drop" "-3 1 1 1 900" "$(echo "$out" | grep '^-3 ' | head -1)"
check "person silver drop" "12 9 1 1 -100" "$(echo "$out" | grep '^12 ' | head -1)"
check "person bishop drop" "14 9 1 1 -800" "$(echo "$out" | grep '^14 ' | head -1)"
check "drops per face" "79" "$(echo "$out" | grep -c '^-3 ')"

# The survey prints two king lines and fourteen maps of nine rows.
out=$("$cli" survey "$START")
check "survey lines" 142 "$(echo "$out" | wc -l)"
check "survey kings" "man_king 5 9
com_king 5 1" "$(echo "$out" | head -2)"

out=$("$cli" mate "$START")
check "mate at the start" "escapes 3
man_mated 0
com_mated 0" "$out"

out=$("$cli" com "$START" --level 1 --no-random)
check "com ends with best" "best" "$(echo "$out" | tail -1 | cut -d' ' -f1)"
check "com candidates" 31 "$(echo "$out" | wc -l)"
check "no candidate" "best none" "$("$cli" com '9/9/9/9/9/9/9/9/9 0,0,0,0 0,0,0,0')"

# move: levels 1 to 3 play the move com chooses; level 4 ends with a best line too.
for level in 1 2 3; do
  check "move at level $level" "$("$cli" com "$START" --level $level --no-random | tail -1 | cut -d' ' -f1-6)" \
    "$("$cli" move "$START" --level $level --no-random)"
done
check "level 4 takes the king" "best 5 8 5 9 900" "$("$cli" move '4k4/9/9/9/9/9/9/4r4/4K4 0,0,0,0 0,0,0,0' --level 4 --movetime 100 | tail -1)"
"$cli" move "$START" --level 5 >/dev/null 2>&1; check "move --level 5 refused" 2 "$?"

exit $fail
