#!/usr/bin/env bash
# Converts the bundled example into OUT: scripts/demo.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=${1:-build}
out=${2:-out}
mkdir -p "$out"
"$build/tolvane-convert" --settings "$out/Tolvane.ini" -o "$out/example.kml" examples/example.log
echo "demo: wrote $out/example.kml"
