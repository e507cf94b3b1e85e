#!/usr/bin/env bash
# with-display.sh <command...>: runs the command on $DISPLAY, or on a private Xvfb
# server when there is no usable display, which is stopped afterwards.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
fifo="$(mktemp -u)"; mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r display_number <"$fifo"; rm -f "$fifo"
export DISPLAY=":$display_number"
# Nobody manages windows on this server: tools/prepare-prefix.sh gives Wine a desktop
# window of its own, so that windows get their frames and captions as on Windows.
export TARNVIEW_XVFB=1
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
set +e
"$@"
rc=$?
exit $rc
