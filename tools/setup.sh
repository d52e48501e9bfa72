#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine
# (run as root). Idempotent: a second run only checks and costs seconds.
# With --bench also the profiler that tools/bench.sh samples the program with.
#
# A package index that fails to update (a mirror caught half synced) does not
# stop it: the update is tried again, then the install goes on with the
# indexes there are, and only a failing install ends the script. The 32-bit
# Wine packages are asked for only where this machine runs 32-bit programs;
# when they cannot be installed (an i386 index out of step), the rest is
# installed and the tests run the x86-64 build. Installing needs root or sudo.
#
# The package manager's messages go to build/setup.log (QV_SETUP_LOG), not to
# the terminal; when an install fails the terminal shows its reason.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
log="${QV_SETUP_LOG:-$here/../build/setup.log}"
# The terminal's stderr, for what must reach it while a command's output goes to the log.
exec 3>&2

packages=(
  cmake make python3 g++
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev
  googletest
  wine wine64 libgl1 libgl1-mesa-dri libglx-mesa0
  xvfb xauth x11-utils imagemagick xfonts-terminus xdotool
  locales fonts-wine fonts-ipafont-gothic
)
# Wine only recommends the GL loader (libGL.so.1), which the install leaves
# out: without it Direct3D cannot be created.
packages32=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386)

if [ "${1:-}" = "--bench" ]; then packages+=(linux-perf); fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    echo "setup: this needs root or sudo to run: $*" >&3
    echo "setup: run it as root, or install sudo" >&3
    exit 1
  fi
}

need_update=
if "$here/runs-32bit.sh"; then
  packages+=("${packages32[@]}")
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
    need_update=1
  fi
else
  echo "setup: this machine does not run 32-bit programs; the tests run the x86-64 build (no 32-bit Wine)"
fi

missing=()
missing32=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    case "$p" in
      *:i386) missing32+=("$p") ;;
      *) missing+=("$p") ;;
    esac
  fi
done
# Runs an apt-get command with its output appended to the log; when it fails,
# "reason" holds the package manager's own words for it (its E: lines, or
# the last lines it wrote).
reason=
quietly() {
  local start said
  start="$(stat -c %s "$log")"
  echo "\$ $*" >>"$log"
  if "$@" >>"$log" 2>&1 </dev/null; then return 0; fi
  said="$(tail -c +"$((start + 1))" "$log")"
  reason="$(grep '^E:' <<<"$said" || tail -n 10 <<<"$said")"
  return 1
}
show_reason() { sed 's/^/  /' <<<"$reason" >&2; echo "setup: the package manager's messages are in $log" >&2; }
apt_install() { quietly as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@"; }

all=("${missing[@]}" "${missing32[@]}")
if [ ${#all[@]} -gt 0 ] || [ -n "$need_update" ]; then
  mkdir -p "$(dirname "$log")"
  log="$(cd "$(dirname "$log")" && pwd)/$(basename "$log")"
  echo "setup: $(date '+%F %T') installing ${all[*]}" >>"$log"
  echo "setup: installing ${#all[@]} packages; this can take several minutes (the package manager's messages go to $log)"
  tries="${QV_SETUP_UPDATE_TRIES:-3}"
  for try in $(seq 1 "$tries"); do
    if quietly as_root apt-get update -qq; then break; fi
    if [ "$try" -lt "$tries" ]; then
      echo "setup: the package index update failed in part (try $try of $tries); trying again" >&2
      echo "  ${reason%%$'\n'*}" >&2
      sleep "${QV_SETUP_RETRY_SECONDS:-5}"
    else
      echo "setup: the package index update failed in part $tries times; installing from the indexes there are" >&2
      show_reason
    fi
  done
  if [ ${#all[@]} -gt 0 ] && ! apt_install "${all[@]}"; then
    if [ ${#missing32[@]} -eq 0 ]; then
      echo "setup: FAILED to install: ${missing[*]}" >&2
      show_reason
      exit 1
    fi
    echo "setup: the 32-bit packages (${missing32[*]}) could not be installed; installing the rest" >&2
    show_reason
    if [ ${#missing[@]} -gt 0 ] && ! apt_install "${missing[@]}"; then
      echo "setup: FAILED to install: ${missing[*]}" >&2
      show_reason
      exit 1
    fi
    echo "setup: without the 32-bit packages the tests run the x86-64 build (build-x64); run setup again once the 32-bit index is in step" >&2
  fi
fi

# Wine shows Japanese only with the ANSI code page 932, which needs this locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  locale_gen="${QV_SETUP_LOCALE_GEN:-/etc/locale.gen}"
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' "$locale_gen"
  grep -q '^ja_JP.UTF-8 UTF-8' "$locale_gen" || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a "$locale_gen" >/dev/null
  as_root locale-gen >/dev/null
fi
echo "setup: ready"
