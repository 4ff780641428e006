#!/usr/bin/env bash
# The computer's choices on the benchmark positions, pinned: every candidate's
# score at each level and the mate tests. A change to any rule shows here.
#   golden_test.sh CLI POSITIONS GOLDEN_DIR [--update]
set -u
cli="$1"; positions="$2"; golden="$3"
run() {
  while IFS= read -r pos; do
    [ -z "$pos" ] && continue
    for level in 1 2 3; do "$cli" com "$pos" --level "$level" --no-random | tail -1 | sed "s/^/L$level /"; done
    "$cli" mate "$pos" | tr '\n' ' '; echo
  done < "$positions"
}
full() {
  while IFS= read -r pos; do
    [ -z "$pos" ] && continue
    for level in 1 2 3; do "$cli" com "$pos" --level "$level" --no-random; done
  done < "$positions"
}
if [ "${4:-}" = "--update" ]; then
  run > "$golden/choices.txt"
  full | md5sum | cut -d' ' -f1 > "$golden/candidates.md5"
  exit 0
fi
status=0
if ! diff <(run) "$golden/choices.txt" > /tmp/veverodu_golden.diff; then
  echo "FAIL: chosen moves or mate tests changed:"; head -20 /tmp/veverodu_golden.diff; status=1
fi
if [ "$(full | md5sum | cut -d' ' -f1)" != "$(cat "$golden/candidates.md5")" ]; then
  echo "FAIL: some candidate's score changed"; status=1
fi
[ $status -eq 0 ] && echo "golden: choices and candidate scores unchanged"
exit $status
