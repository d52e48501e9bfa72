#!/usr/bin/env bash
# Prints the architecture whose test programs run natively under Wine here:
# i686 when this machine executes 32-bit programs and has the 32-bit Wine
# loader with the 32-bit GL libraries Direct3D is drawn through (the
# product's own architecture), x86_64 otherwise. build.sh, test.sh and run.sh
# all ask here, so what set-up installed decides for every one of them.
# QV_WINE_LIB names the folder of Wine's loaders and QV_LIB32_DIR the 32-bit
# library folder (the set-up script's tests point them at stand-ins).
here="$(cd "$(dirname "$0")" && pwd)"
wine_lib="${QV_WINE_LIB:-/usr/lib/wine}"
lib32="${QV_LIB32_DIR:-/usr/lib/i386-linux-gnu}"
# Wine makes no Direct3D device without the GL loader, Mesa's GLX and its
# software driver (libgl1, libglx-mesa0 and libgl1-mesa-dri for i386).
gl32=(libGL.so.1 libGLX_mesa.so.0 dri/swrast_dri.so)

if ! "$here/runs-32bit.sh" || ! timeout 20 "$wine_lib/wine" --version >/dev/null 2>&1; then
  echo x86_64
  exit 0
fi
missing=()
for f in "${gl32[@]}"; do
  [ -e "$lib32/$f" ] || missing+=("$f")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "test-arch: 32-bit Wine is installed but not the 32-bit GL libraries (${missing[*]} in $lib32); the x86-64 build runs the tests" >&2
  echo x86_64
else
  echo i686
fi
