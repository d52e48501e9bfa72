#!/usr/bin/env bash
# Prints the architecture whose test programs run natively under Wine here:
# i686 when this machine executes 32-bit programs (the product's own
# architecture), x86_64 otherwise.
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && grep -q enabled /proc/sys/fs/binfmt_misc/qemu-i386; then
  echo x86_64   # 32-bit programs would run emulated, far too slowly for Wine
elif timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo i686
else
  echo x86_64
fi
