#!/usr/bin/env bash
# Builds the converter and the benchmarks optimised, then runs the conversion benchmark on a
# one-day and a seven-day log (written on the first run into BUILD_DIR/bench-work, ~290 MB).
# Usage: scripts/bench.sh [BUILD_DIR] [benchmark options, e.g. --runs 7 --days 1]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
shift || true
bash scripts/install-deps.sh --bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BUILD_UI=OFF \
  -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target tolvane-convert kml_conversion_bench
"$build/kml_conversion_bench" "$@"
