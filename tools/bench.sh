#!/usr/bin/env bash
# Builds the benchmark programs (x86-64 test build, run under Wine) and prints
# one Markdown report of their figures with a description of the machine.
# Each figure is the median of several runs made inside the program. Not part
# of CI: a busy machine gives slow figures, not failures.
#
#   tools/bench.sh [build-dir]        (default: build-x64 in the source tree)
set -euo pipefail

src="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$src/build-x64}"
jobs="${QV_BENCH_JOBS:-3}"

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$src" -B "$build" -DQV_ARCH=x86_64 >/dev/null
fi
cmake --build "$build" -j"$jobs" --target sim_bench strip_bench program_run Qelvar PurselAI Forelens vassop Calvesh >/dev/null

run() { "$src/tools/wine-run.sh" --build "$build" --arch x86_64 --timeout 900 "$build/tests/bin/$1" "${@:2}"; }

cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')"
echo "### Figures ($(date -u +%Y-%m-%d))"
echo
echo "Machine: $cpu, $(nproc) cores, $(free -g | awk '/Mem:/{print $2}') GB; $(/usr/lib/wine/wine64 --version 2>/dev/null || echo Wine) running the x86-64 build; one core per program."
echo
echo "#### Simulation: flocks built through PurselAI on the host table, world Move without drawing"
echo
run sim_bench.exe | tr -d '\r'
echo
echo "#### Start-up and close of the shipped program (debug mode, default configuration)"
echo
run program_run.exe --startup 5 | tr -d '\r' | grep '^|'
echo
echo "#### Whole scene: frame rate and frame time by fish count, every fish drawn against clone billboards (debug-mode window at 1024x768)"
echo
# The program's own diagnostics on standard output are left out.
scene="$(run program_run.exe --fish 500,5000,10000 | tr -d '\r')"
grep '^|' <<<"$scene"
echo
grep '^Figures:' <<<"$scene"
echo
echo "#### Triangle-strip builder (16-entry vertex cache)"
echo
# The builder reports odd meshes on standard output; they are counted here.
strips="$(run strip_bench.exe | tr -d '\r')"
grep '^|' <<<"$strips"
echo
echo "Builder diagnostics: $(grep -vc '^|' <<<"$strips" || true) lines (meshes with more than two triangles on an edge)."
