// The page's own map layer, written inline in place of the map API's loader: Leaflet's style
// sheet, Leaflet's script with its licence, and the layer with the tile settings and its images
// (and, with GoogleMaps.profile 1, the profile strip's script).
#pragma once

#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// Writes the head elements that carry the layer; each line indented as the head's own.
void write_builtin_map(const ConversionSettings& settings, TextSink& out);

}  // namespace tolvane
