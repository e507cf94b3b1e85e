#!/usr/bin/env bash
# documents-dir.sh <build-dir>: prints the Unix path of the prefix's Documents folder,
# where Tarnview writes its snapshots and clips by default.
set -euo pipefail
build="$(cd "${1:?build dir}" && pwd)"
for home in "$build/wineprefix/drive_c/users"/*; do
  [ "$(basename "$home")" = "Public" ] && continue
  [ -d "$home/Documents" ] && { echo "$home/Documents"; exit 0; }
done
exit 1
