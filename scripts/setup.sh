#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Fast when everything is present: it asks dpkg first and only calls apt-get
# for what is missing. Works as root on a fresh Debian 12 machine (or via sudo).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  clang libclang-rt-14-dev libtsan2
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libpng-dev
  libfreetype-dev libfontconfig-dev fonts-liberation fonts-dejavu-core
  libsndfile1-dev libsmf-dev libcli11-dev
  libx11-dev libxext-dev libxtst-dev xvfb xauth
  # The macOS editor view, compiled with clang against GNUstep's AppKit and
  # run under Xvfb (tests/mac-view).
  libgnustep-gui-dev gnustep-back0.29
  valgrind
)

bash "$(dirname "$0")/install-packages.sh" setup "${packages[@]}"
