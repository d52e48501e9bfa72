#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite under
# Wine. It fails when no test ran. The build's display and Wine server stay up
# for the whole suite and are stopped when it ends (wine-run.sh --stop).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
arch="$(tools/test-arch.sh)"
dir=build
[ "$arch" = x86_64 ] && dir=build-x64
echo "test: running the $arch build's tests in $dir"
mkdir -p "$dir/wine"
trap 'tools/wine-run.sh --build "$dir" --arch "$arch" --stop || true' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# The shared lock tells wine-run.sh --stop (from tools/run.sh, say) that the
# suite uses the display and the server; ctest itself does not hold it (-o).
(cd "$dir" && flock -s -o wine/in-use ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@")
