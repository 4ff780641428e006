#!/usr/bin/env bash
# The installed tree: `cmake --install` into a fresh prefix holds the
# programs, the sounds, the translation, the icons in every size, the desktop
# entry, the metainfo and the manual pages; the desktop files pass their
# validators; the installed program answers --version and --help and refuses
# a language it does not speak.
# usage: install_test.sh BUILD_FOLDER
set -uo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "FAIL: cmake --install"
  exit 1
fi
rm -f "$prefix.log"

expected=(
  bin/veverodu bin/veverodu-cli
  share/veverodu/その他.wav share/veverodu/禁止.wav share/veverodu/駒打音.wav share/veverodu/BGM.wav
  share/veverodu/translations/veverodu_en.qm
  share/applications/io.github.veverodu.Veverodu.desktop
  share/metainfo/io.github.veverodu.Veverodu.metainfo.xml
  share/man/man6/veverodu.6 share/man/man6/veverodu-cli.6
)
for size in 16 32 48 64 128 256 512; do expected+=("share/icons/hicolor/${size}x${size}/apps/veverodu.png"); done
for f in "${expected[@]}"; do
  [ -s "$prefix/$f" ] || fail "missing $f"
done
# Each icon is a PNG of its own size.
for size in 16 32 48 64 128 256 512; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/veverodu.png"
  [ -s "$icon" ] || continue
  read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
  [ "$w $h" = "$size $size" ] || fail "icon ${size}x${size} is ${w}x${h}"
done
# The desktop entry starts the game in its own folder and names the icon.
desktop="$prefix/share/applications/io.github.veverodu.Veverodu.desktop"
grep -qx 'Exec=veverodu --data-folder' "$desktop" || fail "the desktop entry does not start veverodu --data-folder"
grep -qx 'Icon=veverodu' "$desktop" || fail "the desktop entry does not name the icon veverodu"

if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$desktop" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate: $out"
else
  echo "SKIP: desktop-file-validate is not installed (Debian package desktop-file-utils)"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/io.github.veverodu.Veverodu.metainfo.xml" >/dev/null 2>&1 ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$prefix/share/metainfo/io.github.veverodu.Veverodu.metainfo.xml" 2>&1)"
else
  echo "SKIP: appstreamcli is not installed (Debian package appstream)"
fi
if command -v man >/dev/null; then
  for page in veverodu veverodu-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man6/$page.6" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
  done
fi
# Every option of the window's help is in its manual page, and every command
# of veverodu-cli's help in its own.
for option in $("$prefix/bin/veverodu" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "$(sed 's/-/\\\\-/g' <<<"$option")" "$prefix/share/man/man6/veverodu.6" || fail "veverodu.6 does not say $option"
done
for option in $("$prefix/bin/veverodu-cli" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "$(sed 's/-/\\\\-/g' <<<"$option")" "$prefix/share/man/man6/veverodu-cli.6" || fail "veverodu-cli.6 does not say $option"
done
for command in $("$prefix/bin/veverodu-cli" --help | awk '/^  [a-z]/ {print $1}'); do
  grep -q "^\.B[IR]* $command\b" "$prefix/share/man/man6/veverodu-cli.6" || fail "veverodu-cli.6 does not say the command $command"
done

version=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/veverodu" --version)
[ "$version" = "veverodu 1.0" ] || fail "--version says: $version"
QT_QPA_PLATFORM=offscreen "$prefix/bin/veverodu" --lang xx >/dev/null 2>"$prefix/err"
[ $? -eq 2 ] && grep -q -- '--lang takes ja or en' "$prefix/err" || fail "--lang xx is not refused clearly"

[ "$failures" -eq 0 ] && echo "the installed tree is complete"
exit $((failures > 0))
