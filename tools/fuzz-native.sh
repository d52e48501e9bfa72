#!/usr/bin/env bash
# Builds the pure parsers of the fuzz tests for the host with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs the same generated cases through
# them (parameter strings, damaged fish records). Needs only the host g++.
#
#   tools/fuzz-native.sh [out-dir]
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$src/build-native}"
mkdir -p "$out"
g++ -std=c++17 -O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
  -finput-charset=UTF-8 -fexec-charset=CP932 -Wall \
  -I"$src/tests/fuzz/native" -I"$src/tests/fuzz" -I"$src/plugins/include" -I"$src/plugins/ai/common" \
  -I"$src/plugins/ai/PurselAI" -I"$src/scene" -I"$src/engine" \
  "$src/tests/fuzz/native/fuzz_native.cpp" "$src/plugins/ai/common/X2ParamTable.cpp" \
  "$src/plugins/ai/PurselAI/PurselTables.cpp" "$src/scene/pluginlists/X2RecordCheck.cpp" "$src/scene/pluginlists/X2ModuleImage.cpp" \
  -o "$out/fuzz_native"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "$out/fuzz_native"
