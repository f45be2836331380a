#!/usr/bin/env bash
# Converts the bundled example into OUT and lists what it wrote: scripts/demo.sh BUILD_DIR OUT_DIR
set -euo pipefail
build=${1:-build}
out=${2:-out}
mkdir -p "$out"
# A settings file of the demo's own, so that the one beside the executable is left alone.
"$build/tolvane-convert" --settings "$out/Tolvane.ini" -o "$out/example.kml" examples/example.log
"$build/tolvane-convert" --settings "$out/Tolvane.ini" -o "$out/example.html" examples/example.log
echo "demo: wrote into $out/:"
for file in "$out"/example.kml; do
  placemarks=$(grep -c '<Placemark>' "$file" || true)
  printf '  %s  %s bytes, %s placemarks (open it with Google Earth)\n' \
    "$file" "$(wc -c <"$file" | tr -d ' ')" "$placemarks"
done
markers=$(grep -c 'map.addOverlay(createMarker' "$out/example.html" || true)
printf '  %s  %s bytes, %s markers (open it with a web browser)\n' \
  "$out/example.html" "$(wc -c <"$out/example.html" | tr -d ' ')" "$markers"
