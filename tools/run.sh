#!/usr/bin/env bash
# run.sh: starts Tarnview with the virtual camera. Installs what is missing, builds,
# prepares the build tree's private Wine prefix and registers one virtual device,
# "Tarnview Virtual Camera". On a display the program opens there; without one it runs
# on a private Xvfb server, and a screenshot of the window is saved and named.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNVIEW_BUILD:-$here/build}"

bash "$here/tools/deps.sh"
bash "$here/tools/build.sh" "$build"

prepare() {
  bash "$here/tools/prepare-prefix.sh" "$build"
  "$here/tools/winerun" "$build/wineprefix" "$build/bin/vcamctl.exe" remove-all >/dev/null
  "$here/tools/winerun" "$build/wineprefix" "$build/bin/vcamctl.exe" add 00 "Tarnview Virtual Camera"
  echo "Snapshots and clips go to: $(bash "$here/tools/documents-dir.sh" "$build")"
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare
  exec "$here/tools/winerun" "$build/wineprefix" "$build/bin/tarnview.exe"
fi

echo "No display: running Tarnview on a private X server to show what it does."
shot="$build/artifacts/tarnview-run.png"
mkdir -p "$build/artifacts"
export -f prepare; export here build
"$here/tools/with-display.sh" bash -c 'prepare && bash "$here/tools/headless-demo.sh" "$build" "$1"' demo "$shot"
echo "Screenshot of the running program: $shot"
