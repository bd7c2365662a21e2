#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour
# sanitizers) and runs each for the given number of seconds (default 10).
# A finding stops the script with the fuzzer's report and its crash file.
# Each target starts from its corpus in the repository (fuzz/corpus/<target>,
# when there is one), copied into build/fuzz/corpus/<target>, where the run
# adds what it finds; the repository's copy is only read.
#   scripts/fuzz.sh          # a short smoke run of every target (CI)
#   scripts/fuzz.sh 60       # a minute each
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-10}"
bash scripts/setup.sh
cmake --preset fuzz > /dev/null
targets=(state_fuzz png_fuzz vst_chunk_fuzz vst_events_fuzz au_class_info_fuzz vst_host_sequence_fuzz)
cmake --build --preset fuzz --target "${targets[@]}"
mkdir -p build/fuzz/corpus build/fuzz/findings
for t in "${targets[@]}"; do
  mkdir -p "build/fuzz/corpus/$t"
  if [ -d "fuzz/corpus/$t" ]; then cp -n fuzz/corpus/"$t"/* "build/fuzz/corpus/$t/"; fi
  echo "fuzz: $t for ${seconds}s" >&2
  "build/fuzz/fuzz/$t" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build/fuzz/findings/$t-" "build/fuzz/corpus/$t" 2>&1 | tail -n 3
done
