#!/usr/bin/env bash
# Builds the concurrency suite and the plug-in library it loads under the
# thread sanitizer (the tsan preset builds nothing else) and runs the suite:
# any data race or lock-order inversion fails it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan
