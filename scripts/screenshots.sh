#!/usr/bin/env bash
# Renders the main window and the settings dialog to docs/main-window.png and
# docs/settings-dialog.png, and in English to docs/main-window-en.png and
# docs/settings-dialog-en.png, under Qt's offscreen platform with the Japanese fonts installed.
# Usage: scripts/screenshots.sh [BUILD_DIR]   (default build; configured with the window on)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash scripts/install-deps.sh
if [[ ! -f "$build/CMakeCache.txt" ]]; then
  cmake -S . -B "$build" -DTOLVANE_BUILD_UI=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target tolvane_screenshots
mkdir -p docs
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$runtime" LC_ALL=C.UTF-8 \
  "$build/tolvane_screenshots" docs
echo "screenshots: wrote docs/main-window{,-en}.png and docs/settings-dialog{,-en}.png"
