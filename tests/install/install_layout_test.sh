#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the layout: the programs and 文本 in an
# app folder of their own, relative launcher links in bin, the desktop files in share; and that
# quiz-check started through its link finds the installed 文本 with no argument, which is where
# the quiz looks too.
# Arguments: the build folder, the folder of the sample question bank, the application ID.
set -euo pipefail
build=$1 sample=$2 app_id=$3

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

app="$prefix/lib/quiz"
for program in quiz quiz-check; do
  [ -f "$app/$program" ] && [ -x "$app/$program" ] || fail "$app/$program is no executable file"
  link="$prefix/bin/$program"
  [ -L "$link" ] || fail "$link is no symbolic link"
  target=$(readlink "$link")
  [ "$target" = "../lib/quiz/$program" ] || fail "$link points to $target, not ../lib/quiz/$program"
  [ "$(readlink -f "$link")" = "$(readlink -f "$app/$program")" ] || fail "$link does not reach $app/$program"
done

[ -d "$app/文本" ] || fail "no 文本 folder beside the programs"
expected=$(cd "$sample" && ls -- *.txt | sort)
installed=$(cd "$app/文本" && ls -- *.txt | sort)
[ "$expected" = "$installed" ] || fail "the installed 文本 does not hold the sample question files"
cmp -s "$sample/$(head -n1 <<<"$expected")" "$app/文本/$(head -n1 <<<"$expected")" ||
  fail "an installed question file differs from the sample"

for file in "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  "share/icons/hicolor/16x16/apps/$app_id.png" "share/icons/hicolor/32x32/apps/$app_id.png" \
  "share/icons/hicolor/48x48/apps/$app_id.png" "share/icons/hicolor/scalable/apps/$app_id.svg"; do
  [ -f "$prefix/$file" ] || fail "$file is not installed"
done

# Started through the link from another folder, quiz-check takes the folder 文本 beside the file
# /proc/self/exe names: the app folder.
count=$(wc -l <<<"$expected")
output=$(cd / && LC_ALL=C LANG=C "$prefix/bin/quiz-check") || fail "quiz-check failed: $output"
grep -q "^$count files checked: $count fine" <<<"$output" ||
  fail "quiz-check through its link did not check the $count installed files: $output"

# A second install over the first replaces the links instead of failing.
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "installing twice failed"
echo "installed layout is complete; quiz-check found the $count installed questions"
