#!/usr/bin/env bash
# Installs the Debian packages the Windows build and its tests need: the
# mingw-w64 cross compilers (posix thread model, for std::thread and
# std::mutex), Debian's mingw zlib, Wine to run the DLL and the test programs,
# and fonts for Wine's font mapper. Asks dpkg first; only missing packages
# go to apt-get. Works as root on a fresh Debian 12 machine (or via sudo).
set -euo pipefail

packages=(
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 fonts-wine fonts-liberation fonts-dejavu-core
  dpkg-dev cmake ninja-build
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup-windows: installing ${missing[*]}" >&2
as_root=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
  else
    echo "setup-windows: need root (or sudo) to install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 update -q
"${as_root[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -q --no-install-recommends "${missing[@]}"
