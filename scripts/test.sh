#!/usr/bin/env bash
# Builds everything in the release preset and runs every test.
# Installs what the build needs first, so it works on a fresh Debian 12 machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release
cmake --build --preset release
ctest --preset release
