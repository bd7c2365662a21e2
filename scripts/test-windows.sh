#!/usr/bin/env bash
# Builds the 64-bit Windows VST 2 plug-in (build/windows/bin/kestrane.dll)
# with mingw-w64 and runs its tests under Wine, headless: the core, raster
# and editor unit tests, the host-level tests of the DLL (the same ones the
# Linux plug-in runs, plus a render compared with the Linux build's when
# build/release has run its tests) and the editor window's tests.
# Installs what it needs first (scripts/setup-windows.sh; libpng is
# cross-built once into build/windows/deps by the configure step).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-windows.sh
cmake --preset windows
cmake --build --preset windows
status=0
ctest --preset windows || status=$?
# The tests' Wine server lingers for a few seconds; end it now.
WINEPREFIX="$PWD/build/windows/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null || true
exit $status
