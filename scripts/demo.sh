#!/usr/bin/env bash
# Converts the bundled example into OUT and lists what it wrote: scripts/demo.sh BUILD_DIR OUT_DIR
# The example is examples/example.log (an hour at 1 Hz, 09:40 to 10:40 local time) and five
# photos that the build's make_example_photos draws with capture times inside that hour.
set -euo pipefail
build=${1:-build}
out=${2:-out}
mkdir -p "$out"
"$build/make_example_photos" "$out/photos" 5 "2024:05:18 09:47:00" 600 1600 1200 DEMO_
photos=("$out"/photos/DEMO_*.JPG)
# A settings file of the demo's own, so that the one beside the executable is left alone.
"$build/tolvane-convert" --settings "$out/Tolvane.ini" -o "$out/example.kml" \
  examples/example.log "${photos[@]}"
"$build/tolvane-convert" --settings "$out/Tolvane.ini" -o "$out/example.html" \
  examples/example.log "${photos[@]}"
echo "demo: wrote into $out/:"
placemarks=$(grep -c '<Placemark>' "$out/example.kml" || true)
printf '  %s  %s bytes, %s placemarks (open it with Google Earth)\n' \
  "$out/example.kml" "$(wc -c <"$out/example.kml" | tr -d ' ')" "$placemarks"
markers=$(grep -c 'map.addOverlay(createMarker' "$out/example.html" || true)
printf '  %s  %s bytes, %s markers (open it with a web browser)\n' \
  "$out/example.html" "$(wc -c <"$out/example.html" | tr -d ' ')" "$markers"
for folder in "$out"/example_pics; do
  printf '  %s/  %s reduced photos of %s\n' "$folder" "$(ls "$folder" | wc -l)" "$out/photos/"
done
