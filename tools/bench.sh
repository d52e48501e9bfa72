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
echo "#### Simulation: flocks built through PurselAI on the host table, world Move without drawing (the camera travelling with them)"
echo
run sim_bench.exe | tr -d '\r'
echo
echo "#### Start-up and close of the shipped program (debug mode, default configuration)"
echo
run program_run.exe --startup 5 | tr -d '\r' | grep '^|'
echo
echo "#### Whole scene: frame rate, frame time and fish in view by fish count, every fish drawn against clone billboards (debug-mode window at 1024x768)"
echo
# The program's own diagnostics on standard output are left out.
scene="$(run program_run.exe --fish 500,1000,5000,10000 | tr -d '\r')"
grep '^|' <<<"$scene"
echo
grep '^Figures:' <<<"$scene"
echo
echo "#### Where the frame time goes: the default scene with each part left out, with the fish in view (1024x768)"
echo
where="$(run program_run.exe --where 1 | tr -d '\r')"
grep '^|' <<<"$where"
echo
grep '^Figures:' <<<"$where"
echo
echo "#### The program's own overhead: the real scene against a bare loop of its draw calls"
echo
load_before="$(cut -d' ' -f1-3 /proc/loadavg)"
own="$(run program_run.exe --replay 3 | tr -d '\r')"
grep -E '^(\||run )' <<<"$own"
echo
grep '^Figures:' <<<"$own"
echo
echo "Load average (1, 5, 15 min) before: $load_before; after: $(cut -d' ' -f1-3 /proc/loadavg)."
echo
echo "#### Where the processor time goes: 1,000 fish at 1024x768, sampled by perf"
echo
if command -v perf >/dev/null 2>&1 && perf record -q -o /dev/null -- true >/dev/null 2>&1; then
  data="$build/bench-perf.data"
  perf record -q -F 199 -o "$data" -- "$src/tools/wine-run.sh" --build "$build" --arch x86_64 --timeout 600 \
    "$build/tests/bin/program_run.exe" --fish 1000 >/dev/null 2>&1 || true
  # Samples by thread: the program's main thread split into the time inside
  # the Direct3D layer (most of it waiting for the renderer) and the rest,
  # which is the program's own code and the C library; the renderer's
  # threads and the command thread of the Direct3D layer.
  perf report -i "$data" --no-children --sort comm,dso -g none 2>/dev/null | awk '
    /^#/ || NF < 3 { next }
    { share = $1; sub(/%/, "", share); comm = $2; dso = $3; for (i = 4; i <= NF; ++i) dso = dso " " $i }
    comm ~ /^llvmpipe-/ { raster += share; next }
    comm == "wined3d_cs" { cs += share; next }
    comm == "Qelvar.scr" && dso ~ /^(wined3d|d3d9|d3dx9_43)\.dll$/ { d3d += share; next }
    comm == "Qelvar.scr" && dso ~ /kernel|ntdll|win32u|libGL|libX|swrast|LLVM/ { sys += share; next }
    comm == "Qelvar.scr" { own += share; next }
    { other += share }
    END {
      print "| thread | share of the processor time |"
      print "|---|---:|"
      printf "| renderer threads (software rasterizer) | %.1f%% |\n", raster
      printf "| Direct3D command thread | %.1f%% |\n", cs
      printf "| main thread, inside Direct3D (mostly waiting for the renderer) | %.1f%% |\n", d3d
      printf "| main thread, system and driver libraries | %.1f%% |\n", sys
      printf "| main thread, the program'"'"'s own code and the C library | %.1f%% |\n", own
      printf "| other processes of the run (bench driver, Wine) | %.1f%% |\n", other
    }'
  rm -f "$data"
else
  echo "perf is not available here (tools/setup.sh --bench installs it; it needs perf_event_paranoid <= 1 or root)."
fi
echo
echo "#### Triangle-strip builder (16-entry vertex cache)"
echo
# The builder reports odd meshes on standard output; they are counted here.
strips="$(run strip_bench.exe | tr -d '\r')"
grep '^|' <<<"$strips"
echo
echo "Builder diagnostics: $(grep -vc '^|' <<<"$strips" || true) lines (meshes with more than two triangles on an edge)."
