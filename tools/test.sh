#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
arch="$(tools/test-arch.sh)"
dir=build
[ "$arch" = x86_64 ] && dir=build-x64
echo "test: running the $arch build's tests in $dir"
cd "$dir"
ctest --output-on-failure -j "$(nproc)" "$@"
