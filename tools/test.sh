#!/usr/bin/env bash
# test.sh [ctest arguments]: the whole test suite but the benchmarks. Installs what is
# missing, builds, prepares the build tree's Wine prefix and runs the tests under CTest
# (with Xvfb when there is no display).
# Screenshots taken by the end-to-end tests are kept in build/artifacts/.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNVIEW_BUILD:-$here/build}"

bash "$here/tools/deps.sh"
bash "$here/tools/build.sh" "$build"
mkdir -p "$build/artifacts"

run_suite() {
  local rc=0
  # Two at a time: the suite's two chains (cmake/TarnviewTesting.cmake).
  (cd "$build" && ctest --parallel 2 --output-on-failure --timeout 900 "$@") || rc=$?
  local prefix
  for prefix in "$build/wineprefix" "$build/wineprefix-b"; do
    [ -d "$prefix" ] && "$here/tools/winerun" "$prefix" wineserver -k 2>/dev/null || true
  done
  return $rc
}
# The benchmarks (label "bench") print figures and take minutes: tools/bench.sh runs
# them; the suite checks behaviour. Any arguments choose the tests instead.
[ $# -gt 0 ] || set -- -LE bench
export -f run_suite
export here build
"$here/tools/with-display.sh" bash -c 'run_suite "$@"' run_suite "$@"
