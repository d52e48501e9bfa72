#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the whole test suite under
# Wine. It fails when no test ran. The build's display and Wine server stay up
# for the whole suite and are stopped when it ends (wine-run.sh --stop).
#
# Ctrl-C, TERM or HUP ends the suite within seconds: ctest and every test
# program get a TERM (wine-run.sh passes it on to its Windows program), no
# further test starts, and once the suite's own programs have ended (or been
# killed 20 s after the TERM) the display and the server are stopped, unless
# another command of this tree (tools/run.sh beside it) still uses them.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
tools/build.sh
arch="$(tools/test-arch.sh)"
dir=build
[ "$arch" = x86_64 ] && dir=build-x64
echo "test: running the $arch build's tests in $dir"
mkdir -p "$dir/wine"

# The suite runs in a process group (and session) of its own, led by $suite:
# a signal to this script, whether from a terminal, to its group or to it
# alone, reaches the suite through here, and every process of the suite is
# found by its group.
suite=
end_wait=20

# A member of the suite's group still runs (an ended process whose parent
# has gone may wait as a zombie until init collects it; it does not count).
suite_running() {
  local file line fields
  for file in /proc/[0-9]*/stat; do
    read -r line 2>/dev/null <"$file" || continue
    read -ra fields <<<"${line##*) }"
    [ "${fields[0]}" != Z ] && [ "${fields[2]}" = "$suite" ] && return 0
  done
  return 1
}

end_suite() {
  [ -n "$suite" ] && suite_running || return 0
  kill -TERM -- "-$suite" 2>/dev/null || true
  for _ in $(seq 1 $((end_wait * 10))); do
    suite_running || return 0
    sleep 0.1
  done
  echo "test: the suite's programs did not end within ${end_wait}s of a TERM; killing them" >&2
  kill -KILL -- "-$suite" 2>/dev/null || true
}

finish() {
  # A second Ctrl-C must not cut the clean-up short.
  trap - EXIT
  trap '' INT TERM HUP
  end_suite
  tools/wine-run.sh --build "$dir" --arch "$arch" --stop || true
}
trap finish EXIT
interrupt() { echo "test: interrupted; ending the suite's programs" >&2; exit "$1"; }
trap 'interrupt 130' INT
trap 'interrupt 143' TERM
trap 'interrupt 129' HUP

# The shared lock tells wine-run.sh --stop (from tools/run.sh, say) that the
# suite uses the display and the server; ctest itself does not hold it (-o).
# Ctrl-C is at its default for the suite, as under a terminal (a background
# job of a script starts with it ignored).
(cd "$dir" && exec setsid env --default-signal=INT \
  flock -s -o wine/in-use ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@") &
suite=$!
rc=0
wait "$suite" || rc=$?
exit "$rc"
