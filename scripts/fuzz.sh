#!/usr/bin/env bash
# Builds a libFuzzer target with clang in build-fuzz/ and runs it.
# Usage: scripts/fuzz.sh TARGET [SECONDS]   (default 60 seconds)
# Seeds come from fuzz/corpus/<name>/ (TARGET without "_fuzzer"); new inputs
# the fuzzer finds go to fuzz-corpus/TARGET/, crashes to fuzz-corpus/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: scripts/fuzz.sh TARGET [SECONDS]}
seconds=${2:-60}
build=$root/build-fuzz

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVELLA_FUZZ=ON -DORVELLA_TESTS=OFF >/dev/null
cmake --build "$build" --target "$target" -j "$(nproc)"

seeds=$root/fuzz/corpus/${target%_fuzzer}
work=$root/fuzz-corpus/$target
mkdir -p "$work"
cd "$root/fuzz-corpus"
exec "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$work" "$seeds"
