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

bash "$(dirname "$0")/install-packages.sh" setup-windows "${packages[@]}"
