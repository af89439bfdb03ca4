#!/usr/bin/env bash
# Runs a test program on a private Xvfb display of its own, then stops the display.
# Exits 77 (CTest's "skipped") when Xvfb is not installed.
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "SKIPPED: Xvfb is not installed (scripts/install-deps test installs it)"
  exit 77
fi
display_file=$(mktemp)
# -displayfd lets the server pick a free display number and tell us which.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 200); do
  [ -s "$display_file" ] && break
  sleep 0.05
done
if [ ! -s "$display_file" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$display_file")"
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
"$@"
