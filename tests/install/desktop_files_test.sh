#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo with the tools desktops and software
# centres use, and checks that the theme icons show the same picture as the icon built into the
# program: the bitmaps pixel for pixel, the scalable one drawn at 48 px close to the 48 px bitmap.
# Arguments: the desktop entry, the metainfo file, the folder of the theme icons, the folder of
# the program's XPM icons. Exits 77 (skipped) when a tool is missing.
set -euo pipefail
desktop_entry=$1 metainfo=$2 theme_icons=$3 program_icons=$4

for tool in desktop-file-validate appstreamcli compare convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done
fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$desktop_entry" || fail "desktop-file-validate rejects $desktop_entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"

for side in 16 32 48; do
  differing=$(compare -metric AE "$theme_icons/quiz_$side.png" "$program_icons/quiz_$side.xpm" \
    null: 2>&1) || fail "the $side px theme icon differs from the program's in $differing pixels"
done

rendered=$(mktemp --suffix=.png)
trap 'rm -f "$rendered"' EXIT
convert -background none "$theme_icons/quiz.svg" -resize 48x48 "PNG32:$rendered"
# Edges are smoothed in one and stepped in the other: allow a tenth of the pixels to differ.
differing=$(compare -metric AE -fuzz 25% "$rendered" "$theme_icons/quiz_48.png" null: 2>&1) || true
[ "$differing" -lt $((48 * 48 / 10)) ] ||
  fail "the scalable icon drawn at 48 px differs from the 48 px icon in $differing pixels"
echo "desktop entry and metainfo valid; theme icons match the program's icon"
