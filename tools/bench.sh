#!/usr/bin/env bash
# bench.sh: builds, runs every benchmark (the CTest tests labelled "bench") through the
# test command, and prints their figures side by side with the machine they ran on.
# Figures only: nothing here passes or fails on speed. Not part of the CI run.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${TARNVIEW_BUILD:-$here/build}"
log="$build/artifacts/bench.log"
mkdir -p "$build/artifacts"

rc=0
bash "$here/tools/test.sh" -L bench --verbose >"$log" 2>&1 || rc=$?

echo "Machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(nproc) cores," \
  "$(free -g | awk '/^Mem:/ {print $2}') GB memory, load average $(cut -d' ' -f1-3 /proc/loadavg);" \
  "$("$here/tools/winerun" "$build/wineprefix" --version 2>/dev/null)"
echo
# Each benchmark prints "BENCH | what | figure | beside it | ...".
grep -o 'BENCH |.*' "$log" | sed 's/^BENCH | //' | column -t -s '|' || true
echo
grep -E 'tests passed|\((Failed|Timeout|SEGFAULT)\)' "$log" || echo "no test summary: see the log"
echo "Full output: $log"
exit $rc
