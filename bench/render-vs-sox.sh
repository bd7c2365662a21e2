#!/usr/bin/env bash
# Whole-process time of a file render through kestrane-render against sox's
# own two-pole low-pass on the same file:
#   kestrane-render in.wav -o out.wav --preset "Oscillating Filter" --bits B [--double]
#   sox in.wav out.wav lowpass 1000            (16-bit output, like its input)
# on a 60 s 48 kHz stereo 16-bit WAV. The commands run alternately, RUNS
# times each (default 7), so a machine whose load drifts treats them alike;
# the medians and the ratios to sox are printed.
#
# Usage: bench/render-vs-sox.sh [BIN_DIR]
#   BIN_DIR   where kestrane-render and kestrane.so are (default build/release/bin)
#   RUNS=N    repetitions of each command
#   BASELINE_BIN=DIR  also time another build's kestrane-render (before/after
#             figures from the same run)
# Installs nothing: without sox it says so and times kestrane-render alone.
set -euo pipefail
cd "$(dirname "$0")/.."

bin_dir=${1:-build/release/bin}
runs=${RUNS:-7}
render="$bin_dir/kestrane-render"
if [ ! -x "$render" ]; then
  echo "render-vs-sox: no $render; build it first (cmake --build --preset release --target kestrane-render kestrane)" >&2
  exit 1
fi
have_sox=1
if ! command -v sox >/dev/null 2>&1; then
  have_sox=0
  echo "render-vs-sox: sox is not installed (apt-get install sox); timing kestrane-render alone" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The input: the tool's generated chord passed through the plug-in at 0 % mix
# (exactly the dry signal), written as 16-bit PCM.
"$render" --quiet --preset "---- default ----" --param "Filter Mix=0" --seconds 60 --sample-rate 48000 \
  --bits 16 -o "$work/in.wav"

declare -A commands
names=()
add() { names+=("$1"); commands[$1]=$2; }
preset=(--preset "Oscillating Filter" --quiet)
q() { printf '%q ' "$@"; }
[ "$have_sox" = 1 ] && add "sox lowpass 1000" "$(q sox "$work/in.wav" "$work/out-sox.wav" lowpass 1000)"
for bits in 16 24; do
  for precision in single double; do
    flag=(); [ "$precision" = double ] && flag=(--double)
    add "render ${bits}-bit $precision" \
      "$(q "$render" "$work/in.wav" -o "$work/out.wav" "${preset[@]}" --bits "$bits" "${flag[@]}")"
    if [ -n "${BASELINE_BIN:-}" ]; then
      add "baseline ${bits}-bit $precision" \
        "$(q "$BASELINE_BIN/kestrane-render" "$work/in.wav" -o "$work/out-base.wav" "${preset[@]}" --bits "$bits" "${flag[@]}")"
    fi
  done
done

# Wall-clock time, and the CPU time (user + system) the process used: on a
# loaded machine the second depends far less on what else runs.
declare -A wall cpu
TIMEFORMAT="%3R %3U %3S"
for ((run = 0; run < runs; ++run)); do
  for name in "${names[@]}"; do
    read -r r u s < <({ time eval "${commands[$name]}" >/dev/null; } 2>&1)
    wall[$name]+="$r "
    cpu[$name]+="$(awk -v u="$u" -v s="$s" 'BEGIN { print u + s }') "
  done
done

median() { tr ' ' '\n' | grep . | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "60 s of 48000 Hz stereo, 16-bit WAV in; whole process, medians of $runs alternating runs"
printf '  %-26s %9s %9s %9s %9s\n' "" "wall s" "x sox" "cpu s" "x sox"
sox_wall=1 sox_cpu=1
if [ "$have_sox" = 1 ]; then
  sox_wall=$(echo "${wall[sox lowpass 1000]}" | median)
  sox_cpu=$(echo "${cpu[sox lowpass 1000]}" | median)
fi
for name in "${names[@]}"; do
  w=$(echo "${wall[$name]}" | median)
  c=$(echo "${cpu[$name]}" | median)
  awk -v n="$name" -v w="$w" -v c="$c" -v sw="$sox_wall" -v sc="$sox_cpu" -v sox="$have_sox" 'BEGIN {
    if (sox) printf "  %-26s %9.3f %9.2f %9.3f %9.2f\n", n, w, w / sw, c, c / sc
    else printf "  %-26s %9.3f %9s %9.3f %9s\n", n, w, "-", c, "-" }'
done
