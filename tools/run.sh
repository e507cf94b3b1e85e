#!/usr/bin/env bash
# run.sh: starts Tarnview with the virtual camera. Installs what is missing, builds what
# it runs (not the tests), prepares the build tree's private Wine prefix and registers
# one virtual device, "Tarnview Virtual Camera". On a display the program opens there;
# without one it runs on a private Xvfb server, and a screenshot of the window is saved
# and named. The prefix's Wine server is stopped when the program ends.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNVIEW_BUILD:-$here/build}"

bash "$here/tools/deps.sh"
bash "$here/tools/build.sh" "$build" tarnview tarnview-vcam vcamctl tarnview-winecompat tarnview-yuv tarnview-demo

wine() { "$here/tools/winerun" "$build/wineprefix" "$@"; }
stop_wine() {
  wine wineserver -k 2>/dev/null || true
  wine wineserver -w 2>/dev/null || true
}
prepare() {
  bash "$here/tools/prepare-prefix.sh" "$build"
  wine "$build/bin/vcamctl.exe" remove-all >/dev/null
  wine "$build/bin/vcamctl.exe" add 00 "Tarnview Virtual Camera"
  echo "Snapshots and clips go to: $(bash "$here/tools/documents-dir.sh" "$build")"
}
trap stop_wine EXIT

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  prepare
  wine "$build/bin/tarnview.exe"
  exit
fi

echo "No display: running Tarnview on a private X server to show what it does."
shot="$build/artifacts/tarnview-run.png"
mkdir -p "$build/artifacts"
export -f wine stop_wine prepare; export here build
# The Wine server goes before the X server it drew on.
"$here/tools/with-display.sh" bash -c \
  'rc=0; { prepare && bash "$here/tools/headless-demo.sh" "$build" "$1"; } || rc=$?; stop_wine; exit $rc' demo "$shot"
echo "Screenshot of the running program: $shot"
