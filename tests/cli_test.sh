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

exit $fail
