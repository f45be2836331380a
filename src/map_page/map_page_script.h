// The map page's script functions: route replay, the four overlay controls (cross, time
// read-out, analogue clock, altitude gauge), the temporary photo marker and the photo window.
#pragma once

#include "map_page/map_page_switches.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// Writes the replay group (route), the overlay group (route; its clock part with analog, its
// gauge part with altitude), the photo marker group (photos present) and the child window
// group (photo links), in that order. The child window's size comes from `settings`.
void write_map_page_script(const MapPageSwitches& page, const ConversionSettings& settings,
                           TextSink& out);

}  // namespace tolvane
