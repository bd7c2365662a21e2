#!/usr/bin/env bash
# Installs the Linux VST 2 plug-in (kestrane.so) where hosts look for it.
#
#   scripts/install-plugin.sh             this user: ~/.vst and ~/.lxvst
#   scripts/install-plugin.sh --system    every user: /usr/local/lib/lxvst (root or sudo)
#   --build-dir DIR                       take the plug-in from DIR/bin (default build/release)
#
# Build it first: cmake --preset release && cmake --build --preset release --target kestrane
set -euo pipefail
cd "$(dirname "$0")/.."

usage() { sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'; }

build=build/release
system=0
while [ $# -gt 0 ]; do
  case "$1" in
    --system) system=1 ;;
    --build-dir) build="${2:?--build-dir needs a directory}"; shift ;;
    -h|--help) usage; exit 0 ;;
    *) echo "install-plugin: unknown option '$1' (see --help)" >&2; exit 2 ;;
  esac
  shift
done

plugin="$build/bin/kestrane.so"
if [ ! -f "$plugin" ]; then
  echo "install-plugin: $plugin is not built; run: cmake --preset release && cmake --build --preset release --target kestrane" >&2
  exit 1
fi

if [ "$system" -eq 1 ]; then
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 || { echo "install-plugin: --system needs root or sudo" >&2; exit 1; }
    as_root=(sudo)
  fi
  "${as_root[@]}" install -D -m 0644 "$plugin" /usr/local/lib/lxvst/kestrane.so
  echo "installed /usr/local/lib/lxvst/kestrane.so"
else
  for dir in "$HOME/.vst" "$HOME/.lxvst"; do
    install -D -m 0644 "$plugin" "$dir/kestrane.so"
    echo "installed $dir/kestrane.so"
  done
fi
