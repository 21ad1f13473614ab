#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with dpkg, starts the installed quiz
# under a virtual display, checks that its window appears, closes it with Esc and checks that it
# exits with status 0; then removes the package again. Runs only as root with dpkg at hand, and
# not when a package named quiz is installed already (it would be replaced): exits 77 (skipped)
# then.
# Argument: the source folder.
set -euo pipefail

# Inside the virtual display: start the installed quiz and close it.
if [ "${1:-}" = --in-display ]; then
  # The tests run Qt offscreen; the installed quiz must open on the display.
  unset QT_QPA_PLATFORM
  /usr/bin/quiz &
  quiz=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --pid "$quiz" | head -n1) || true
  if [ -z "$window" ]; then
    echo "FAIL: no window of the installed quiz appeared" >&2
    kill "$quiz"
    exit 1
  fi
  info=$(xwininfo -id "$window")
  echo "$info" | grep -E 'Map State|Width|Height'
  grep -q 'Map State: IsViewable' <<<"$info" || { echo "FAIL: the window is not shown" >&2; exit 1; }
  grep -q 'Width: 778' <<<"$info" && grep -q 'Height: 401' <<<"$info" ||
    { echo "FAIL: the window is not 778 × 401" >&2; kill "$quiz"; exit 1; }
  # The quiz activates its window itself, so the key reaches it without a window manager.
  sleep 0.5
  xdotool key Escape
  status=0
  timeout 10 tail --pid="$quiz" -f /dev/null || { echo "FAIL: Esc did not close the quiz" >&2; kill "$quiz"; }
  wait "$quiz" || status=$?
  [ "$status" -eq 0 ] || { echo "FAIL: the quiz exited with status $status" >&2; exit 1; }
  echo "the installed quiz opened its window and exited with status 0 after Esc"
  exit 0
fi

source_dir=$1
skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in dpkg dpkg-shlibdeps xvfb-run xwininfo xdotool; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps installs it)"
done
status=$(dpkg-query -W -f='${db:Status-Status}' quiz 2>/dev/null) || true
if [ -n "$status" ] && [ "$status" != not-installed ]; then
  skip "a package named quiz is installed already; this test would replace it"
fi
fail() { echo "FAIL: $*" >&2; exit 1; }

cd "$source_dir"
log=$(cmake --workflow --preset package 2>&1) || { echo "$log" >&2; fail "building the package failed"; }
package=$(ls build/package/quiz_*.deb)

# Removing runs the triggers the package set off (the desktop database), so no package is left
# with triggers pending.
remove_package() { dpkg -r quiz >/dev/null && dpkg --triggers-only --pending; }
trap 'remove_package || echo "could not remove the package quiz" >&2' EXIT
dpkg -i "$package" >/dev/null || fail "dpkg -i $package failed"

[ -x /opt/quiz/quiz ] && [ -x /opt/quiz/quiz-check ] && [ -d /opt/quiz/文本 ] ||
  fail "/opt/quiz does not hold quiz, quiz-check and 文本"
[ "$(readlink /usr/bin/quiz)" = ../../opt/quiz/quiz ] || fail "/usr/bin/quiz is no relative link to /opt/quiz/quiz"
(cd / && quiz-check >/dev/null) || fail "the installed quiz-check found fault with the installed 文本"

xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --in-display || fail "the installed quiz did not run"

trap - EXIT
remove_package || fail "dpkg -r quiz failed"
[ -z "$(dpkg --audit)" ] || fail "dpkg --audit finds packages left half done: $(dpkg --audit)"
[ ! -e /opt/quiz ] && [ ! -e /usr/bin/quiz ] || fail "removing the package left files behind"
echo "the package installed, ran and was removed again"
