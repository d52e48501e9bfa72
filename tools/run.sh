#!/usr/bin/env bash
# Sets up the machine, builds everything and shows the program working under
# Wine. Without a display it runs on a private Xvfb display for a few seconds
# and saves a screenshot (build/screenshot.png).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
arch="$(tools/test-arch.sh)"
dir=build
[ "$arch" = x86_64 ] && dir=build-x64
seconds="${QV_RUN_SECONDS:-6}"

# The error reporter reading a sample last-error file.
dist="$dir/dist"
sed 's/$/\r/' data/sample/LastError.txt | iconv -f UTF-8 -t CP932 > "$dist/LastError.txt"
tools/wine-run.sh --build "$dir" --arch "$arch" --timeout "$seconds" "$dist/Wexnote.exe" || true &
sleep $((seconds - 2))
display=":$(cat "$dir/wine/xvfb.display")"
import -display "$display" -window root build/screenshot.png 2>/dev/null && echo "run: screenshot in build/screenshot.png"
wait || true
rm -f "$dist/LastError.txt"
