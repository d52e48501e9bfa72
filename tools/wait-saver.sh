#!/usr/bin/env bash
# Waits until the screen saver's window on an X display shows its frames (the
# window is mapped and its picture is mostly blue water, not the white of a
# window that has drawn nothing yet) and prints the window's id. Exits 1 when
# that does not happen within the time limit, or at once when the process
# PID (the program's runner), if given, has ended.
#
#   wait-saver.sh DISPLAY SECONDS [PID]
set -uo pipefail
# import and xdotool handle Ctrl-C themselves and end normally: without these
# traps the loop would go on.
trap 'exit 130' INT
trap 'exit 143' TERM
display="$1"
limit="$2"
pid="${3:-}"
title='^Orvex Engine Reefmoor 2$'
# A process's start time, empty once it has ended: its pid may be another
# process's later.
started() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 0
  set -- ${stat##*) }
  [ "$1" = Z ] || echo "${20}"
}
[ -z "$pid" ] || pid_start="$(started "$pid")"
end=$((SECONDS + limit))
while [ "$SECONDS" -lt "$end" ]; do
  for window in $(DISPLAY="$display" xdotool search --onlyvisible --name "$title" 2>/dev/null); do
    blue="$(import -display "$display" -window "$window" -format '%[fx:mean.b - mean.r > 0.2]' info: 2>/dev/null)"
    if [ "$blue" = 1 ]; then
      echo "$window"
      exit 0
    fi
  done
  if [ -n "$pid" ] && { [ -z "$pid_start" ] || [ "$(started "$pid")" != "$pid_start" ]; }; then
    echo "wait-saver: the program ended before it showed frames on $display" >&2
    exit 1
  fi
  sleep 0.5
done
echo "wait-saver: no frames of the screen saver on $display within ${limit}s" >&2
exit 1
