#!/usr/bin/env bash
# Sets up the machine, builds everything and shows the screen saver working
# under Wine: it runs in its window ("/debug") on the build's private Xvfb
# display; a few seconds (QV_RUN_SECONDS) after its first frames a screenshot
# is saved as build/screenshot.png and Esc ends it. The build's messages go
# to build/build.log, what the program itself prints to build/run.log.
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
log=build/run.log

# Wine's prefix is made first: on a fresh machine that takes tens of seconds,
# with Wine's own "updating the prefix" box on the display.
echo "run: preparing Wine"
tools/wine-run.sh --build "$dir" --arch "$arch" --prepare
display=":$(cat "$dir/wine/xvfb.display")"

echo "run: starting the screen saver in its window (its output goes to $log)"
tools/wine-run.sh --build "$dir" --arch "$arch" --timeout $((seconds + 180)) "$dir/dist/Qelvar.scr" /debug \
  >"$log" 2>&1 &
runner=$!
rc=0
if window="$(tools/wait-saver.sh "$display" 120)"; then
  sleep "$seconds"
  import -display "$display" -window root build/screenshot.png && echo "run: screenshot in build/screenshot.png"
  DISPLAY="$display" xdotool mousemove --window "$window" 40 40 key Escape
  wait "$runner" || rc=$?
else
  import -display "$display" -window root build/screenshot.png &&
    echo "run: the screen as it was is in build/screenshot.png; the program's time limit ends it" >&2
  rc=1
fi
[ "$rc" -eq 0 ] || echo "run: the screen saver did not run as it should (code $rc); see $log" >&2
exit "$rc"
