// The first portion of the map page: prologue, head and style sheet, the API loader, the script
// globals and marker factories, the script functions, and the opening of load() with the map
// set-up and the icon definitions.
#pragma once

#include <string_view>

#include "core/track_point.h"
#include "map_page/map_page_switches.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// Addresses on the map service's hosts that the page names.
inline constexpr const char* kMapApiLoaderAddress = "http://maps.google.com/maps?file=api&amp;v=2";
inline constexpr const char* kStandardIconAddress =
    "http://maps.google.com/mapfiles/kml/pal4/icon60.png";
inline constexpr const char* kPhotoPinAddress =
    "http://labs.google.com/ridefinder/images/mm_20_red.png";
inline constexpr const char* kPhotoPinShadowAddress =
    "http://labs.google.com/ridefinder/images/mm_20_shadow.png";

// What the head needs of the track: the first point (local time; only its position is used) and
// the box of all points of all logs.
struct MapPageTrack {
  TrackPoint first_point;
  float min_latitude = 0;
  float max_latitude = 0;
  float min_longitude = 0;
  float max_longitude = 0;
};

// Writes the page up to and including the icon definitions; the stream is then inside the
// "if ( GBrowserIsCompatible() ) {" block of load(), where the track data follows. `zoom` is
// GoogleMaps.api2_zoom: -1 fits the box, anything else opens on the first point at that zoom.
void write_map_page_head(std::string_view title, const MapPageTrack& track, int zoom,
                         const MapPageSwitches& page, const ConversionSettings& settings,
                         TextSink& out);

}  // namespace tolvane
