#!/usr/bin/env bash
# release-package-test.sh <build-dir> <zip> <folder name> <version>
set -euo pipefail
here="$(cd "$(dirname "$0")/../../.." && pwd)"
build="$(cd "$1" && pwd)"; zip="$2"; name="$3"; version="$4"
work="$build/release-test"
prefix="$work/prefix"
fail() { echo "FAIL: $*" >&2; exit 1; }
wine() { "$here/tools/winerun" "$prefix" "$@"; }
cleanup() {
  wine wineserver -k 2>/dev/null || true
  wine wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cleanup
# A new prefix's Documents links into $HOME: give it a home of its own here.
export HOME="$work/home"
mkdir -p "$HOME" "$prefix" "$build/artifacts"
wine wineboot -i >/dev/null 2>&1 || fail "wineboot could not make a prefix"

[ -f "$zip" ] || fail "no release package at $zip"
cmake -E chdir "$prefix/drive_c" cmake -E tar xf "$zip"
folder="$prefix/drive_c/$name"
for file in tarnview.exe tarnview-vcam.dll vcamctl.exe README.txt; do
  [ -f "$folder/$file" ] || fail "$file is missing from the package"
done
strings -el "$folder/tarnview.exe" | grep -qx "$version.0" ||
  fail "tarnview.exe's version resource does not read $version.0"

# As README.txt says, from the unpacked folder.
readme="$(tr -d '\r' <"$folder/README.txt")"
grep -q '^  regsvr32 tarnview-vcam.dll$' <<<"$readme" || fail "README.txt no longer says how to register"
grep -q '^  vcamctl add 00 "Tarnview Virtual Camera"$' <<<"$readme" || fail "README.txt no longer says how to add the camera"
cd "$folder"
wine regsvr32 /s tarnview-vcam.dll || fail "regsvr32 tarnview-vcam.dll failed"
wine vcamctl.exe add 00 "Tarnview Virtual Camera" || fail "vcamctl add failed"
find "$prefix" -iname 'tarnview-winecompat*' | grep -q . && fail "the gap fillers reached the prefix"

out="$(wine "$build/bin/tarnview-demo.exe" "$build/artifacts/release-package.png" "C:\\$name\\tarnview.exe" 2>&1)" ||
  fail "the unpacked program did not show its preview: $out"
echo "$out"
grep -q '^Status: Preview: 640 x 480' <<<"$out" || fail "the status line does not read \"Preview: 640 x 480\""
echo "PASS: the unpacked package shows the preview"
