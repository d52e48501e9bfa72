#!/usr/bin/env bash
# Runs a Windows program of this build under Wine: a private 32-bit prefix in
# the build tree, one shared Xvfb display, a persistent wineserver, the
# Japanese ANSI code page, and a hard time limit so a hung program fails.
#
#   wine-run.sh [--build DIR] [--arch i686|x86_64] [--timeout SECONDS] program.exe [args...]
#   wine-run.sh [--build DIR] [--arch i686|x86_64] --prepare
#
# --prepare only makes the prefix (when it does not exist yet), the display
# and the server ready.
# QV_BUILD_DIR may name the build tree instead of --build.
set -euo pipefail

build="${QV_BUILD_DIR:-}"
limit="${QV_RUN_TIMEOUT:-300}"
arch="${QV_ARCH:-i686}"
prepare_only=
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --timeout) limit="$2"; shift 2 ;;
    --arch) arch="$2"; shift 2 ;;
    --prepare) prepare_only=1; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || [ -n "$prepare_only" ] || { echo "usage: wine-run.sh [--build DIR] [--timeout S] program [args]" >&2; exit 2; }
[ -n "$build" ] || build="$(pwd)"
build="$(cd "$build" && pwd)"
state="$build/wine"
case "$arch" in
  x86_64) winearch=win64; loader=/usr/lib/wine/wine64 ;;
  *) winearch=win32; loader=/usr/lib/wine/wine ;;
esac
mkdir -p "$state"

export WINEPREFIX="$state/prefix"
export WINEARCH="$winearch"
export WINEDEBUG="${WINEDEBUG:--all}"
# winedbg disabled: a crashing program ends at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export LIBGL_ALWAYS_SOFTWARE=1

display_alive() {
  local n="$1"
  [ -S "/tmp/.X11-unix/X$n" ] && [ -f "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null
}

start_display() {
  local n
  if [ -f "$state/xvfb.display" ] && display_alive "$(cat "$state/xvfb.display")"; then
    return
  fi
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp +extension GLX 9>&- \
      >"$state/xvfb.log" 2>&1 < /dev/null &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 1 100); do
      [ -S "/tmp/.X11-unix/X$n" ] && break
      sleep 0.05
    done
    if display_alive "$n"; then
      echo "$n" > "$state/xvfb.display"
      return
    fi
  done
  echo "wine-run: could not start Xvfb" >&2
  exit 3
}

(
  flock 9
  start_display
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    DISPLAY=":$(cat "$state/xvfb.display")" "$loader" wineboot -i >"$state/wineboot.log" 2>&1 </dev/null 9>&- || true
    wineserver -w || true
  fi
  # A server that outlives single programs keeps later starts fast.
  setsid wineserver -p 600 >/dev/null 2>&1 </dev/null 9>&- || true
) 9>"$state/lock"
[ -z "$prepare_only" ] || exit 0

export DISPLAY=":$(cat "$state/xvfb.display")"
prog="$1"; shift
# Wine starts helper processes (services, desktop) that outlive the program
# and would keep the caller's output pipe open: they get a file instead, and
# the program's output is passed on when it ends.
out="$(mktemp "$state/run.XXXXXX")"
trap 'rm -f "$out"' EXIT
rc=0
timeout -k 10 "$limit" "$loader" "$prog" "$@" >"$out" 2>&1 </dev/null || rc=$?
cat "$out"
[ "$rc" -eq 124 ] && echo "wine-run: $prog timed out after ${limit}s" >&2
exit "$rc"
