#!/usr/bin/env bash
# Builds the libFuzzer targets (every fuzz/*_fuzzer.cpp) with clang in build-fuzz and runs one
# of them, or each in turn, for a number of seconds, one process at a time.
#
#   scripts/fuzz.sh [all|NAME] [SECONDS]        e.g. scripts/fuzz.sh nmea_reader_fuzzer 600
#
# NAME is a fuzzer's file name without .cpp; the default is all, for 60 seconds each. Seeds come
# from tests/data/fuzz/NAME/ when that folder exists; what a run finds is kept in
# build-fuzz/corpus/NAME/ for the next run, and crashing inputs go to build-fuzz/artifacts/NAME/.
# Extra libFuzzer options may follow in FUZZ_OPTIONS (e.g. FUZZ_OPTIONS="-max_len=65536").
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:-all}
seconds=${2:-60}
build=${TOLVANE_FUZZ_BUILD:-build-fuzz}

names=()
for source in fuzz/*_fuzzer.cpp; do
  names+=("$(basename "$source" .cpp)")
done
if [[ "$target" == all ]]; then
  selected=("${names[@]}")
else
  if [[ ! -f "fuzz/$target.cpp" ]]; then
    echo "fuzz.sh: no fuzzer $target; there are: ${names[*]}" >&2
    exit 2
  fi
  selected=("$target")
fi

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON \
  -DTOLVANE_BUILD_UI=OFF -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 --target "${selected[@]}"

for name in "${selected[@]}"; do
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  if [[ -d "tests/data/fuzz/$name" ]]; then
    seeds=("tests/data/fuzz/$name")
  fi
  echo "fuzz.sh: running $name for $seconds s"
  # shellcheck disable=SC2086
  "$build/$name" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/" ${FUZZ_OPTIONS:-} "$corpus" "${seeds[@]}"
done
