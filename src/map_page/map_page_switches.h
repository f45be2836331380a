// The switches that decide which optional pieces the map page carries, read once per run from
// the settings and the photo list.
#pragma once

#include "settings/conversion_settings.h"

namespace tolvane {

struct MapPageSwitches {
  bool route = false;           // replay functions, overlay controls, read-outs, replay buttons
  bool analog = false;          // analogue clock and time_info (only with route)
  bool altitude = false;        // altitude gauge and alt_info (only with route)
  bool heading_icons = false;   // 16 heading icons and marker factories instead of one
  bool photos_present = false;  // photo styles, photo marker functions, photo frame
  bool photo_links = false;     // child window, links to the source photos, "linked" box
  bool use_key = false;         // API key in the loader address
  bool profile = false;         // profile strip and the trip's numbers (built-in map layer only)
};

// A switch is on only when its setting is exactly 1: a hand-edited 2 must not enable a piece
// whose declarations another switch left out.
inline MapPageSwitches map_page_switches(const ConversionSettings& settings, bool photos_present) {
  const GoogleMapsSettings& maps = settings.google_maps;
  MapPageSwitches page;
  page.route = maps.route == 1;
  page.analog = page.route && maps.show_analog == 1;
  page.altitude = page.route && maps.show_altitude == 1;
  page.heading_icons = maps.direction_icon == 1;
  page.photos_present = photos_present;
  page.photo_links = settings.common.jpeg_embed_link == 1;
  page.use_key = maps.use_key == 1;
  page.profile = maps.builtin_map == 1 && maps.profile == 1;
  return page;
}

}  // namespace tolvane
