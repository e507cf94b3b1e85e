#!/usr/bin/env bash
# build.sh [build-dir [target...]]: configures (once) and builds for Windows with
# mingw-w64: everything with the tests, or only the targets named. A tree first made for
# named targets leaves the tests (and GoogleTest) out until it is built whole.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
shift || true
tests=ON
[ $# -gt 0 ] && tests=OFF
# A compiler cache, where one is installed, makes rebuilds in other trees quick.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$here" -B "$build" -G Ninja "${launcher[@]}" -DTARNVIEW_TESTS="$tests" \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo
elif [ "$tests" = ON ] && grep -q '^TARNVIEW_TESTS:BOOL=OFF' "$build/CMakeCache.txt"; then
  cmake "$build" -DTARNVIEW_TESTS=ON
fi
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"
