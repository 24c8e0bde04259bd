#!/usr/bin/env bash
# Builds the TextToInt fuzz target with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs it from the seed corpus.
#   scripts/fuzz.sh [SECONDS] [BUILD_DIR]      default: 60 s, build/fuzz
# New inputs the fuzzer finds go to BUILD_DIR/corpus, never into the seeds.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-60}
out=${2:-build/fuzz}
mkdir -p "$out/corpus"

clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc -Itests tests/fuzz/text_to_int_fuzz.cpp src/app/text/text_to_int.cpp -o "$out/text_to_int_fuzz"

"$out/text_to_int_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="$out/" "$out/corpus" tests/fuzz/corpus/text_to_int
