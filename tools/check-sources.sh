#!/usr/bin/env bash
# check-sources.sh <source-dir> <target-sources.txt>: fails, naming them, when .cpp files
# of the tree belong to no target. In a git checkout the tree is what git tracks or would
# track; elsewhere every folder but build trees (a CMakeCache.txt in them).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: check-sources.sh <source-dir> <target-sources.txt>" >&2; exit 2; }
source_dir="$(cd "$1" && pwd)"
list="$2"
tree_sources() {
  if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # --cached also names files deleted but not yet committed: only those on disk count.
    git -C "$source_dir" ls-files --cached --others --exclude-standard -- '*.cpp' |
      while read -r f; do if [ -e "$source_dir/$f" ]; then echo "$source_dir/$f"; fi; done
  else
    find "$source_dir" \( -name .git -o -exec test -e '{}/CMakeCache.txt' \; \) -prune -o -name '*.cpp' -print
  fi
}
orphans="$(tree_sources | sort | comm -23 - <(sort "$list"))"
if [ -n "$orphans" ]; then
  echo "In no target (add them to a CMakeLists.txt or delete them):"
  echo "$orphans"
  exit 1
fi
echo "Every .cpp belongs to a target ($(wc -l <"$list") in targets)."
