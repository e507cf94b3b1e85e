#!/usr/bin/env bash
# headless-demo.sh <build-dir> <png>: on the current (virtual) display, starts Tarnview,
# waits until its window shows a running preview, saves a screenshot and closes it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$1"; shot="$2"
"$here/tools/winerun" "$build/wineprefix" "$build/bin/tarnview.exe" &
app=$!
found=""
for _ in $(seq 1 300); do   # up to a minute for Wine to start the program
  if xwininfo -root -tree 2>/dev/null | grep -q '"Tarnview Video Capture"'; then found=1; break; fi
  sleep 0.2
done
if [ -z "$found" ]; then
  echo "Tarnview's window did not appear." >&2; kill $app 2>/dev/null || true; exit 1
fi
sleep 3   # let the live preview draw a few frames before the picture is taken
import -window root "$shot"
# taskkill without /f asks the window to close, as the close box would.
"$here/tools/winerun" "$build/wineprefix" taskkill /im tarnview.exe >/dev/null 2>&1 || kill $app
wait $app 2>/dev/null || true
