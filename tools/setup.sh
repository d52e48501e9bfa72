#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian 12 machine
# (run as root). Idempotent: a second run only checks and costs seconds.
# With --bench also the profiler that tools/bench.sh samples the program with.
set -euo pipefail

packages=(
  cmake make python3 g++
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  libz-mingw-w64-dev
  googletest
  wine wine32:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  wine64 libgl1-mesa-dri libglx-mesa0
  xvfb xauth x11-utils imagemagick xfonts-terminus
  locales fonts-wine fonts-ipafont-gothic
)

if [ "${1:-}" = "--bench" ]; then packages+=(linux-perf); fi

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  as_root dpkg --add-architecture i386
  need_update=1
fi
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine shows Japanese only with the ANSI code page 932, which needs this locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  as_root sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
fi
echo "setup: ready"
