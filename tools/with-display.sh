#!/usr/bin/env bash
# with-display.sh <command...>: runs the command on $DISPLAY, or on a private Xvfb
# server when there is no usable display, which is stopped afterwards.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
# Xvfb picks a free display number and writes it into a pipe of our own, made inside a
# fresh private folder so that no other process can take its name first.
fifo_dir="$(mktemp -d)"
fifo="$fifo_dir/display"
mkfifo -m 600 "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT
read -r display_number <"$fifo"
export DISPLAY=":$display_number"
# Nobody manages windows on this server: tools/prepare-prefix.sh gives Wine a desktop
# window of its own, so that windows get their frames and captions as on Windows.
export TARNVIEW_XVFB=1
set +e
"$@"
rc=$?
exit $rc
