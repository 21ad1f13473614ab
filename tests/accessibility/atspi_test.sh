#!/usr/bin/env bash
# Runs atspi_check.py against the quiz with a real AT-SPI stack: a private D-Bus session, on
# which the accessibility bus and registry are started on demand, and a virtual X display. The
# session ends with the check, taking every daemon it started with it. Exits 77 (skipped) when a
# tool is missing.
# Argument: the quiz program, with the sample 文本 beside it.
set -euo pipefail
quiz=$1
here=$(dirname "$0")

# Debian's python3-gi exists for the system's Python only.
python=/usr/bin/python3
for tool in dbus-run-session xvfb-run "$python" /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps installs it)"
    exit 77
  fi
done
if ! "$python" -c 'import gi; gi.require_version("Atspi", "2.0"); from gi.repository import Atspi' 2>/dev/null; then
  echo "SKIP: the AT-SPI bindings for $python are missing (python3-pyatspi brings them)"
  exit 77
fi

unset QT_QPA_PLATFORM
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$python" "$here/atspi_check.py" "$quiz"
