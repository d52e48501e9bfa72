#!/usr/bin/env bash
# Exits 0 when this machine runs 32-bit x86 programs natively: it starts a
# 93-byte 32-bit program that only exits. A kernel without 32-bit support
# refuses it ("Exec format error"); an emulator registered for 32-bit
# programs would run it far too slowly for Wine, so it counts as no.
# QV_RUNS_32BIT=0|1 overrides the probe (the set-up script's tests use it).
case "${QV_RUNS_32BIT:-}" in
  1) exit 0 ;;
  0) exit 1 ;;
esac
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -q enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
  exit 1
fi
probe="$(mktemp "${TMPDIR:-/tmp}/runs32.XXXXXX")"
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment, then: xor ebx,ebx; mov eax,1; int 0x80.
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\x31\xdb\xb8\x01\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
