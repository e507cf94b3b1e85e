#!/usr/bin/env bash
# prepare-prefix.sh <build-dir> [prefix-name]: makes the build tree's private Wine prefix
# (build/wineprefix, or the test suite's second one by its name) once and
# installs this build's Wine-side pieces into it (every time, so paths stay current):
#   - a real Documents folder of the prefix's own (Wine links it to $HOME by default);
#   - the virtual camera's COM server;
#   - the gap fillers for what Wine's DirectShow lacks.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?build dir}" && pwd)"
prefix="$build/${2:-wineprefix}"
run() { "$here/tools/winerun" "$prefix" "$@"; }

if [ ! -f "$prefix/system.reg" ]; then
  echo "Creating Wine prefix $prefix"
  mkdir -p "$prefix"
  run wineboot -i >/dev/null 2>&1 || true
  run wineserver -w || true
fi

# Documents: a real folder inside the prefix, never a link into the user's home.
users="$prefix/drive_c/users"
for home in "$users"/*; do
  [ -d "$home" ] || continue
  [ "$(basename "$home")" = "Public" ] && continue
  docs="$home/Documents"
  if [ -L "$docs" ]; then rm -f "$docs"; fi   # removes the link only, never its target
  mkdir -p "$docs"
  # Wine replaces an empty Documents folder with a link again when it updates the prefix.
  [ -f "$docs/.tarnview-prefix" ] || echo "Documents folder of the Tarnview test prefix" >"$docs/.tarnview-prefix"
done

# Wine's own fonts (Tahoma, which "MS Shell Dlg" stands for, and Marlett, which draws the
# title bar's buttons) come with Debian's fonts-wine in /usr/share/wine/fonts, but
# Debian's Wine 8 looks for them under "<data dir>\../fonts", which its file name lookup
# never finds: without them dialogs fall back to a wider face and the caption buttons
# show Marlett's codes as letters. Fonts in C:\windows\Fonts are always loaded.
wine_fonts=/usr/share/wine/fonts
if [ -d "$wine_fonts" ]; then
  cp -u "$wine_fonts"/*.ttf "$wine_fonts"/*.fon "$prefix/drive_c/windows/Fonts/"
else
  echo "warning: $wine_fonts is missing (Debian's fonts-wine): dialogs will not look right" >&2
fi
# Windows maps "MS Shell Dlg" to Microsoft Sans Serif (MS Sans Serif's metrics), the face
# dialogs are laid out for; Wine maps it to Tahoma, in which labels wrap at their
# template sizes. Wine's own MS Sans Serif keeps Windows' proportions.
run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Shell Dlg' \
  /d 'MS Sans Serif' /f >/dev/null 2>&1

# On our own Xvfb server (no window manager) Wine draws the windows' frames itself
# inside a desktop window; on a real display the user's window manager does.
if [ "${TARNVIEW_XVFB:-}" = "1" ]; then
  # A desktop left from an earlier run lives on that run's X server, now gone; windows
  # created under it fail with BadWindow. Stop the prefix's processes first.
  run wineserver -k 2>/dev/null || true
  run wineserver -w 2>/dev/null || true
  run reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  run reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
else
  run reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
fi

# A crashing program must end (Wine has printed the exception), not wait in winedbg
# until the test's timeout: the "debugger" is a command that exits at once.
run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d 'cmd.exe /c exit 1' /f >/dev/null 2>&1
run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f >/dev/null 2>&1

register() {
  local dll="$build/bin/$1"
  if [ -f "$dll" ]; then
    run regsvr32 /s "$(run winepath -w "$dll" 2>/dev/null)" >/dev/null 2>&1 || {
      echo "regsvr32 failed for $dll" >&2; return 1; }
  fi
}
register tarnview-vcam.dll
register tarnview-winecompat.dll
register tarnview-yuv.dll

# One wineserver for the whole run saves starting one for every program; the test
# command stops it at the end.
run wineserver -p 2>/dev/null || true
