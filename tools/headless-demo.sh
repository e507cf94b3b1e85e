#!/usr/bin/env bash
# headless-demo.sh <build-dir> <png>: on the current (virtual) display, starts Tarnview,
# waits for the live preview, takes a snapshot, saves a screenshot and closes it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"; shot="$(realpath -m "$2")"
"$here/tools/winerun" "$build/wineprefix" "$build/bin/tarnview-demo.exe" "$shot"
