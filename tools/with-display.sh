#!/usr/bin/env bash
# with-display.sh <command...>: runs the command on $DISPLAY, or, when there is no usable
# display, on private Xvfb servers that are stopped afterwards: one for $DISPLAY and one
# for the test suite's second chain ($TARNVIEW_DISPLAY_B, see tools/winerun).
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
# Xvfb picks a free display number and writes it into a pipe of our own, made inside a
# fresh private folder so that no other process can take its name first.
fifo_dir="$(mktemp -d)"
xvfb_pids=()
trap 'kill "${xvfb_pids[@]}" 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT
start_xvfb() {
  local fifo="$fifo_dir/display$1"
  mkfifo -m 600 "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pids+=($!)
  read -r display_number <"$fifo"
}
start_xvfb a
export DISPLAY=":$display_number"
start_xvfb b
export TARNVIEW_DISPLAY_B=":$display_number"
# Nobody manages windows on these servers: tools/prepare-prefix.sh gives Wine a desktop
# window of its own, so that windows get their frames and captions as on Windows.
export TARNVIEW_XVFB=1
set +e
"$@"
rc=$?
exit $rc
