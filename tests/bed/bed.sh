#!/usr/bin/env bash
# The Wine test bed: runs one command inside a private Wine prefix (a copy of a
# template prefix kept in the build tree, never ~/.wine), on an Xvfb display of
# its own, with LANG=zh_CN.UTF-8 (ANSI code page 936), a Wine virtual desktop,
# a CJK font and an oleacc that gives simplified-Chinese Windows' state text.
#
#   bed.sh prog.exe [args...]    run a Windows program under wine
#   bed.sh command [args...]     run a host command with the bed's environment
#                                (WINEPREFIX, DISPLAY, ...) exported
# Environment:
#   BED_USE_DISPLAY=1            use the caller's $DISPLAY instead of a new Xvfb
#   BED_KEEP=1                   keep the run's prefix afterwards (for debugging)
# Exits with the command's exit status. Ends only what it started: the Xvfb it
# launched and the wineserver (with its processes) of its own prefix.
set -uo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
BED=${BED_DIR:-$ROOT/build/bed}
TEMPLATE=$BED/template
WINE_DLLS=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
mkdir -p "$BED/runs"

export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="oleacc=n,b;winemenubuilder.exe=d;mscoree=d;mshtml=d"

xvfb_pid=
prefix=
started_server=0

start_xvfb() {
  # The server picks a free display number itself (-displayfd) and reports it:
  # choosing one here would race with a parallel run that chose the same one,
  # and then the run that ended first would take the other's display away.
  local numberfile
  numberfile=$(mktemp "$BED/runs/display.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp -noreset 3>"$numberfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  local i
  for i in $(seq 1 200); do
    if [ -s "$numberfile" ] && [ -e "/tmp/.X11-unix/X$(tr -dc 0-9 <"$numberfile")" ]; then
      export DISPLAY=":$(tr -dc 0-9 <"$numberfile")"
      rm -f "$numberfile"
      return 0
    fi
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$numberfile"
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
  echo "bed: Xvfb did not start" >&2
  return 1
}

cleanup() {
  if [ "$started_server" = 1 ] && [ -n "$prefix" ]; then
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  if [ -n "$prefix" ] && [ "${BED_KEEP:-0}" != 1 ] && [ "$prefix" != "$TEMPLATE" ]; then
    rm -rf "$prefix"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

patch_oleacc() {
  # Wine's oleacc says 普通 for state 0 where simplified-Chinese Windows says 正常.
  # Same length in UTF-16LE, so one in-place replacement; blank the builtin marker
  # so Wine loads the copy as a native DLL.
  python3 - "$WINE_DLLS/oleacc.dll" "$1" <<'PY'
import sys
src, dst = sys.argv[1], sys.argv[2]
data = bytearray(open(src, 'rb').read())
old, new = '普通'.encode('utf-16-le'), '正常'.encode('utf-16-le')
if data.count(old) != 1:
    sys.exit('bed: oleacc.dll does not hold the state-0 text exactly once; another Wine version?')
data = data.replace(old, new)
marker = b'Wine builtin DLL'
if data[0x40:0x50] != marker:
    sys.exit('bed: no builtin marker at 0x40 in oleacc.dll')
data[0x40:0x50] = b'\0' * 16
open(dst, 'wb').write(bytes(data))
PY
}

make_template() {
  local tmp=$BED/template.new
  rm -rf "$tmp"
  export WINEPREFIX=$tmp
  wineboot -i >/dev/null 2>&1 || { echo "bed: wineboot failed" >&2; return 1; }
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1000 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\DllOverrides' /v oleacc /d native,builtin /f >/dev/null 2>&1
  wineserver -w
  patch_oleacc "$tmp/drive_c/windows/system32/oleacc.dll" || return 1
  touch "$tmp/.bed-ready"
  rm -rf "$TEMPLATE" && mv "$tmp" "$TEMPLATE"
}

if [ "${BED_USE_DISPLAY:-0}" = 1 ] && [ -n "${DISPLAY:-}" ]; then
  :
else
  start_xvfb || exit 125
fi

# The template is made once per build tree; parallel runs wait for it.
(
  flock 9
  if [ ! -f "$TEMPLATE/.bed-ready" ]; then make_template || exit 1; fi
) 9>"$BED/template.lock" || { echo "bed: could not prepare the Wine prefix" >&2; exit 125; }

prefix=$(mktemp -d "$BED/runs/run.XXXXXX")
# The DLL folders are large and never written by a run: hard links. The rest
# (registry, users, ini files) is copied so that nothing reaches the template.
(cd "$TEMPLATE" && find . -mindepth 1 -maxdepth 1 ! -name drive_c -exec cp -a {} "$prefix/" \;)
mkdir -p "$prefix/drive_c"
(cd "$TEMPLATE/drive_c" && find . -mindepth 1 -maxdepth 1 ! -name windows -exec cp -a {} "$prefix/drive_c/" \;)
mkdir -p "$prefix/drive_c/windows"
(cd "$TEMPLATE/drive_c/windows" && for f in * .[!.]*; do
   [ -e "$f" ] || continue
   case "$f" in system32|syswow64|winsxs) cp -al "$f" "$prefix/drive_c/windows/" ;;
                *) cp -a "$f" "$prefix/drive_c/windows/" ;; esac
 done)
export WINEPREFIX=$prefix
started_server=1

case "${1:-}" in
  "") echo "usage: bed.sh program.exe|command [args...]" >&2; exit 2 ;;
  *.exe|*.EXE) wine "$@"; rc=$? ;;
  *) "$@"; rc=$? ;;
esac
exit $rc
