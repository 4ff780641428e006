#!/usr/bin/env bash
# Whole games through `veverodu-cli play`: each play/NAME.script is run in a
# fresh folder (so the settings are the defaults) and its events, boards,
# records and states must match play/NAME.expected line for line.
#   play_test.sh CLI PLAY_DIR [--update]
set -u
cli=$(realpath "$1"); dir=$(cd "$2" && pwd)
status=0
for script in "$dir"/*.script; do
  name=$(basename "$script" .script)
  work=$(mktemp -d)
  (cd "$work" && "$cli" play --no-random < "$script") > "$work/out" 2>&1
  if [ "${3:-}" = "--update" ]; then
    cp "$work/out" "$dir/$name.expected"
  elif ! diff -u "$dir/$name.expected" "$work/out" > "$work/diff"; then
    echo "FAIL: $name"; head -30 "$work/diff"; status=1
  fi
  rm -rf "$work"
done
[ $status -eq 0 ] && echo "play: every script matches"
exit $status
