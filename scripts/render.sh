#!/usr/bin/env bash
# Renders audio through the Kestrane VST 2 plug-in with kestrane-render,
# building what it needs first (also on a fresh Debian 12 machine).
# Arguments go to kestrane-render; with none it renders its demonstration
# (a generated chord and MIDI phrase through "Oscillating Filter") into
# kestrane-out.wav in the current directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
(
  cd "$root"
  cmake --preset release --log-level=WARNING
  cmake --build --preset release --target kestrane kestrane-render
)
exec "$root/build/release/bin/kestrane-render" "$@"
