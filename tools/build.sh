#!/usr/bin/env bash
# Builds the product (32-bit, build/dist) and, where this machine cannot run
# 32-bit programs, the 64-bit test build (build-x64) as well.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs="$(nproc)"
cmake -S . -B build -DQV_ARCH=i686 >/dev/null
cmake --build build -j "$jobs"
if [ "$(tools/test-arch.sh)" = x86_64 ]; then
  cmake -S . -B build-x64 -DQV_ARCH=x86_64 >/dev/null
  cmake --build build-x64 -j "$jobs"
fi
