#!/usr/bin/env bash
# Renders the demo's map page, as it opens from disk without network, to docs/map-page.png with
# headless Chromium.
# Usage: scripts/map_page_screenshot.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/install-deps.sh
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target tolvane-convert make_example_photos
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash scripts/demo.sh "$build" "$work/out" >/dev/null
mkdir -p docs
# Every host name resolves to nothing: the tiles fail, as they do offline.
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
  --user-data-dir="$work/profile" --host-resolver-rules="MAP * ~NOTFOUND" \
  --window-size=1000,740 --virtual-time-budget=3000 \
  --screenshot="$PWD/docs/map-page.png" "file://$work/out/example.html" 2>/dev/null
echo "screenshot: wrote docs/map-page.png"
