#!/usr/bin/env bash
# Builds and runs the tests under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan
