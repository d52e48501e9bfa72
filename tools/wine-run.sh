#!/usr/bin/env bash
# Runs a Windows program of this build under Wine: a private 32-bit prefix in
# the build tree, one shared Xvfb display, a persistent wineserver, the
# Japanese ANSI code page, and a hard time limit so a hung program fails.
#
#   wine-run.sh [--build DIR] [--arch i686|x86_64] [--timeout SECONDS] [--log FILE] program.exe [args...]
#   wine-run.sh [--build DIR] [--arch i686|x86_64] --prepare
#   wine-run.sh [--build DIR] --stop
#
# --prepare only makes the prefix (when it does not exist yet), the display
# and the server ready. --log writes the program's output to FILE as it comes
# instead of passing it on when the program ends. --stop ends the prefix's
# wineserver with every Wine process of the prefix, and the build's display;
# while a program runs on them (or tools/test.sh runs the suite) it leaves
# them running and says so. A TERM, INT or HUP ends the program at once.
# QV_BUILD_DIR may name the build tree instead of --build; QV_WINE_LIB the
# folder of Wine's loaders (the run scripts' tests point it at a stand-in).
set -euo pipefail

build="${QV_BUILD_DIR:-}"
limit="${QV_RUN_TIMEOUT:-300}"
arch="${QV_ARCH:-i686}"
mode=run
log=
while [ $# -gt 0 ]; do
  case "$1" in
    --build) build="$2"; shift 2 ;;
    --timeout) limit="$2"; shift 2 ;;
    --arch) arch="$2"; shift 2 ;;
    --log) log="$2"; shift 2 ;;
    --prepare) mode=prepare; shift ;;
    --stop) mode=stop; shift ;;
    *) break ;;
  esac
done
[ $# -ge 1 ] || [ "$mode" != run ] ||
  { echo "usage: wine-run.sh [--build DIR] [--timeout S] [--log FILE] program [args]" >&2; exit 2; }
[ -n "$build" ] || build="$(pwd)"
build="$(cd "$build" && pwd)"
state="$build/wine"
wine_lib="${QV_WINE_LIB:-/usr/lib/wine}"
case "$arch" in
  x86_64) winearch=win64; loader="$wine_lib/wine64" ;;
  *) winearch=win32; loader="$wine_lib/wine" ;;
esac

export WINEPREFIX="$state/prefix"
export WINEARCH="$winearch"
export WINEDEBUG="${WINEDEBUG:--all}"
# winedbg disabled: a crashing program ends at once instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export LIBGL_ALWAYS_SOFTWARE=1

# Lock files: "lock" is held while the display and the server are started or
# stopped; "in-use" is held shared by every running program (and by
# tools/test.sh for the whole suite), so --stop ends nothing in use. Nothing
# started from here keeps either descriptor open (8>&- 9>&-).

# Runs and is no zombie (an ended Xvfb waits as one until init collects it).
process_running() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 1
  stat="${stat##*) }"
  [ "${stat%% *}" != Z ]
}

# Our Xvfb serves display n: it runs and holds the display's lock file (which
# holds its pid); an Xvfb started for a number another one took at the same
# moment gives up.
display_alive() {
  local n="$1" pid
  pid="$(cat "$state/xvfb.pid" 2>/dev/null)" || return 1
  [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$pid" 2>/dev/null &&
    [ "$(tr -d ' \n' <"/tmp/.X$n-lock" 2>/dev/null)" = "$pid" ]
}

start_display() {
  local n
  if [ -f "$state/xvfb.display" ] && display_alive "$(cat "$state/xvfb.display")"; then
    return
  fi
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    [ -e "/tmp/.X11-unix/X$n" ] && continue
    # -noreset: a server that resets when its last client leaves turns away
    # the clients that come during the reset (xdotool's polls end often).
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset +extension GLX 8>&- 9>&- \
      >"$state/xvfb.log" 2>&1 < /dev/null &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 1 100); do
      display_alive "$n" && break
      process_running "$(cat "$state/xvfb.pid")" || break
      sleep 0.05
    done
    if display_alive "$n"; then
      echo "$n" > "$state/xvfb.display"
      return
    fi
    # One that has not given up yet must not take the number later.
    ! process_running "$(cat "$state/xvfb.pid")" || kill -KILL "$(cat "$state/xvfb.pid")" 2>/dev/null || true
  done
  echo "wine-run: could not start Xvfb" >&2
  exit 3
}

stop_display() {
  local pid n
  pid="$(cat "$state/xvfb.pid" 2>/dev/null)" || return 0
  # (A display still starting has no number on record yet: its command line has it.)
  n="$(cat "$state/xvfb.display" 2>/dev/null)" ||
    n="$(tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | sed -n 's/^[^ ]*Xvfb :\([0-9]*\) .*/\1/p')"
  # Only the Xvfb started here, which holds the display's lock: its pid may
  # belong to another process by now.
  if [ -n "$pid" ] && [ -n "$n" ] && [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$n-lock")" = "$pid" ]; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 1 50); do
      process_running "$pid" || break
      sleep 0.1
    done
    ! process_running "$pid" || kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$state/xvfb.pid" "$state/xvfb.display"
}

if [ "$mode" = stop ]; then
  [ -d "$state" ] || exit 0
  exec 8>>"$state/in-use"
  if ! flock -n -x 8; then
    echo "wine-run: a program or the test suite still uses $build's display and Wine server; they are left running" >&2
    exit 0
  fi
  (
    flock 9
    if [ -d "$WINEPREFIX" ]; then
      wineserver -k 8>&- 9>&- >/dev/null 2>&1 </dev/null || true
      timeout 20 wineserver -w 8>&- 9>&- >/dev/null 2>&1 </dev/null || true
    fi
    stop_display
  ) 9>"$state/lock"
  exit 0
fi

mkdir -p "$state"
# Held from here on, so that no --stop ends the display between its start and the program's.
if [ "$mode" = run ]; then
  exec 8>>"$state/in-use"
  flock -s 8
fi

(
  flock 9
  start_display
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    DISPLAY=":$(cat "$state/xvfb.display")" "$loader" wineboot -i >"$state/wineboot.log" 2>&1 </dev/null 8>&- 9>&- || true
    wineserver -w 8>&- 9>&- || true
  fi
  # A server that outlives single programs keeps later starts fast.
  setsid wineserver -p 600 >/dev/null 2>&1 </dev/null 8>&- 9>&- || true
) 9>"$state/lock"
[ "$mode" = run ] || exit 0

export DISPLAY=":$(cat "$state/xvfb.display")"
prog="$1"; shift
# Wine starts helper processes (services, desktop) that outlive the program
# and would keep the caller's output pipe open: they get a file instead, and
# the program's output is passed on when it ends (or, with --log, the file
# is the caller's).
if [ -n "$log" ]; then
  out="$log"
else
  out="$(mktemp "$state/run.XXXXXX")"
  trap 'rm -f "$out"' EXIT
fi
# The program runs under timeout, in a process group of its own; a signal to
# this script is passed on to it (timeout ends the group, with KILL 10 s later).
child=
signalled=
# (By the shell's record of its jobs: an ended child's pid may be another process's.)
pass_on() { [ -z "$child" ] || ! jobs -rp | grep -qx "$child" || kill -TERM "$child" 2>/dev/null || true; }
trap 'signalled=1; pass_on' TERM INT HUP
timeout -k 10 "$limit" "$loader" "$prog" "$@" >"$out" 2>&1 </dev/null 8>&- &
child=$!
[ -z "$signalled" ] || pass_on
rc=0
wait "$child" || rc=$?
# A wait cut short by a signal returns at once: wait again for the program's
# own code (127: it was collected already).
while [ -n "$signalled" ]; do
  signalled=
  code=0
  wait "$child" || code=$?
  [ "$code" -eq 127 ] || rc=$code
done
[ -n "$log" ] || cat "$out"
[ "$rc" -eq 124 ] && echo "wine-run: $prog timed out after ${limit}s" >&2
exit "$rc"
