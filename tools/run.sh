#!/usr/bin/env bash
# Sets up the machine, builds everything and shows the screen saver working
# under Wine: it runs in its window ("/debug") on the build's private Xvfb
# display; a few seconds (QV_RUN_SECONDS) after its first frames a screenshot
# is saved as build/screenshot.png and Esc ends it. The build's messages go
# to build/build.log, what the program itself prints to build/run.log as it
# comes. It waits QV_RUN_WAIT seconds (120) for the first frames.
#
# It leaves nothing running when it ends, on success, on a failure or on
# Ctrl-C: the program is ended, then Wine's server with every process of the
# build's prefix and the build's display (wine-run.sh --stop, which leaves
# them while another program or the test suite runs on them).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
mkdir -p build
echo "run: building (messages in build/build.log)"
if ! tools/build.sh >build/build.log 2>&1; then
  tail -n 30 build/build.log >&2
  echo "run: the build FAILED; see build/build.log" >&2
  exit 1
fi
arch="$(tools/test-arch.sh)"
dir=build
[ "$arch" = x86_64 ] && dir=build-x64
seconds="${QV_RUN_SECONDS:-8}"
wait_limit="${QV_RUN_WAIT:-120}"
log=build/run.log

runner=
prepared=
# By the shell's own record: the pid of an ended program may be another process's.
running() { [ -n "$runner" ] && jobs -rp | grep -qx "$runner"; }

# Ends the program (wine-run.sh passes the TERM on; its time limit's KILL
# follows 10 s later) and sets code to its exit code.
code=0
end_program() {
  code=0
  if running; then
    kill -TERM "$runner" 2>/dev/null || true
    for _ in $(seq 1 150); do
      running || break
      sleep 0.1
    done
    ! running || kill -KILL "$runner" 2>/dev/null || true
  fi
  [ -z "$runner" ] || wait "$runner" 2>/dev/null || code=$?
  runner=
}

interrupted=
finish() {
  # A second Ctrl-C must not cut the clean-up short; it takes seconds.
  trap - EXIT
  trap '' INT TERM HUP
  local started="$runner"
  end_program
  if [ -n "$interrupted" ] && [ -n "$started" ]; then
    echo "run: the screen saver was ended (code $code); its output is in $log" >&2
  fi
  [ -z "$prepared" ] || tools/wine-run.sh --build "$dir" --arch "$arch" --stop || true
}
trap finish EXIT
interrupt() { interrupted=1; echo "run: interrupted" >&2; exit "$1"; }
trap 'interrupt 130' INT
trap 'interrupt 143' TERM
trap 'interrupt 129' HUP

# Ends the program first, so that the log holds all it printed.
fail() {
  end_program
  echo "run: $1 (code $code); its output is in $log" >&2
  exit 1
}

# Wine's prefix is made first: on a fresh machine that takes tens of seconds,
# with Wine's own "updating the prefix" box on the display.
echo "run: preparing Wine"
prepared=1
tools/wine-run.sh --build "$dir" --arch "$arch" --prepare
display=":$(cat "$dir/wine/xvfb.display")"

echo "run: starting the screen saver in its window (its output goes to $log)"
tools/wine-run.sh --build "$dir" --arch "$arch" --timeout $((seconds + wait_limit + 60)) --log "$log" \
  "$dir/dist/Qelvar.scr" /debug &
runner=$!
if ! window="$(tools/wait-saver.sh "$display" "$wait_limit" "$runner")"; then
  import -display "$display" -window root build/screenshot.png &&
    echo "run: the screen as it was is in build/screenshot.png" >&2
  running || fail "the screen saver ended before it showed frames"
  fail "the screen saver showed no frames within ${wait_limit}s; it was ended"
fi
for _ in $(seq 1 $((seconds * 10))); do
  running || fail "the screen saver ended by itself before the screenshot"
  sleep 0.1
done
import -display "$display" -window root build/screenshot.png ||
  fail "the screenshot could not be taken"
echo "run: screenshot in build/screenshot.png"
if ! DISPLAY="$display" xdotool mousemove --window "$window" 40 40 key Escape 2>/dev/null; then
  running || fail "the screen saver ended by itself before Esc"
  fail "Esc could not be sent to the screen saver's window"
fi
rc=0
wait "$runner" || rc=$?
runner=
[ "$rc" -eq 0 ] || { echo "run: the screen saver ended with code $rc after Esc; its output is in $log" >&2; exit 1; }
echo "run: the screen saver ended on Esc"
