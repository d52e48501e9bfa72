#!/usr/bin/env bash
# Prints the architecture whose test programs run natively under Wine here:
# i686 when this machine executes 32-bit programs and has the 32-bit Wine
# loader (the product's own architecture), x86_64 otherwise.
here="$(cd "$(dirname "$0")" && pwd)"
if "$here/runs-32bit.sh" && timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  echo i686
else
  echo x86_64
fi
