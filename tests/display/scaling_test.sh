#!/usr/bin/env bash
# The window scales with Qt's device-pixel ratio: at QT_SCALE_FACTOR=2 it is twice as wide and
# twice as high on the screen as at 1, and a screenshot of it is 1556 × 802 pixels. Exits 77
# (skipped) when a tool is missing.
# Arguments: the screenshot script, the quiz program.
set -euo pipefail
screenshot=$1
export QUIZ_PROGRAM=$2
for tool in xvfb-run xdotool xwininfo import identify; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
for scale in 1 2; do
  "$screenshot" "$scale" "$shots/$scale.png" >/dev/null 2>&1 || { echo "FAIL: no screenshot at scale $scale" >&2; exit 1; }
  size=$(identify -format '%wx%h' "$shots/$scale.png")
  expected="$((778 * scale))x$((401 * scale))"
  echo "scale $scale: $size"
  [ "$size" = "$expected" ] || { echo "FAIL: at scale $scale the window is $size, not $expected" >&2; exit 1; }
done
