#!/usr/bin/env bash
# Runs the tests that load the built plug-in libraries as hosts do (the VST 2
# library and the stand-in, the Audio Unit bundle, the editor window under
# Xvfb) under valgrind's memcheck, on the release build the shipped
# libraries come from: any invalid access, use of uninitialised memory or
# definite / indirect leak fails the run. The sanitizer builds cannot see
# everything here: their plug-in libraries share the process's C++ runtime
# instead of carrying their own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset release
cmake --build --preset release --target vst_plugin_library_tests au_bundle_tests linux_window_tests

memcheck=(valgrind -q --error-exitcode=99 --leak-check=full
  --show-leak-kinds=definite,indirect --errors-for-leak-kinds=definite,indirect)
bin=build/release/tests
"${memcheck[@]}" "$bin/vst/vst_plugin_library_tests"
"${memcheck[@]}" "$bin/au/au_bundle_tests"
tests/linux-window/run-under-xvfb.sh "${memcheck[@]}" "$bin/linux-window/linux_window_tests"
