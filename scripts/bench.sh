#!/usr/bin/env bash
# Builds the converter and the benchmarks optimised, then runs them and prints their medians.
# Usage: scripts/bench.sh [BUILD_DIR] [all|conversion|gpx|reader|thumbnail|photos|map] [options]
#   conversion  KML and map page runs of a one-day and a seven-day log against GPSBabel and a
#               plain pass, with peak memory (writes ~290 MB of logs into BUILD_DIR/bench-work)
#   gpx         the KML run of a one-day and a seven-day GPX track against GPSBabel, with peak
#               memory (writes ~70 MB of tracks into BUILD_DIR/bench-work)
#   reader      the NMEA reader against plain fgets passes
#   thumbnail   make_thumbnail against a bare decode on 8 MP and 24 MP photos
#   photos      the photo stage over 40 photos of 8 MP, one worker against one per core
#   map         the map page of a one-day log loading in headless Chromium, against bare Leaflet
# Options go to the one benchmark named (e.g. scripts/bench.sh build-bench conversion --days 1).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
which=${2:-all}
shift $(($# < 2 ? $# : 2)) || true
bash scripts/install-deps.sh --bench
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTOLVANE_BUILD_UI=OFF \
  -DTOLVANE_BUILD_TESTS=OFF -DTOLVANE_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target tolvane-convert make_example_photos \
  kml_conversion_bench gpx_conversion_bench nmea_reader_bench thumbnail_bench photo_stage_bench map_page_load_bench geotag_bench

run() {
  echo "== $1"
  "$build/$1" "${@:2}"
  echo
}
case "$which" in
  conversion) run kml_conversion_bench "$@" ;;
  gpx) run gpx_conversion_bench "$@" ;;
  reader) run nmea_reader_bench "$@" ;;
  thumbnail) run thumbnail_bench "$@" ;;
  photos) run photo_stage_bench "$@" ;;
  map) run map_page_load_bench "$@" ;;
  geotag) run geotag_bench "$@" ;;
  all)
    run kml_conversion_bench
    run gpx_conversion_bench
    run nmea_reader_bench
    run thumbnail_bench
    run photo_stage_bench
    run map_page_load_bench
    run geotag_bench
    ;;
  *)
    echo "scripts/bench.sh: unknown benchmark $which" >&2
    exit 2
    ;;
esac
