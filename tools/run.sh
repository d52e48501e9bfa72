#!/usr/bin/env bash
# Sets up the machine, builds everything and shows the screen saver working
# under Wine: it runs in its window ("/debug") on the build's private Xvfb
# display for a few seconds (QV_RUN_SECONDS) and a screenshot is saved as
# build/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
arch="$(tools/test-arch.sh)"
dir=build
[ "$arch" = x86_64 ] && dir=build-x64
seconds="${QV_RUN_SECONDS:-8}"

dist="$dir/dist"
# The screen saver in its window ("/debug"), on the private display.
tools/wine-run.sh --build "$dir" --arch "$arch" --timeout "$seconds" "$dist/Qelvar.scr" /debug || true &
sleep $((seconds - 2))
display=":$(cat "$dir/wine/xvfb.display")"
import -display "$display" -window root build/screenshot.png 2>/dev/null && echo "run: screenshot in build/screenshot.png"
wait || true
