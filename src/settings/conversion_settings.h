// The user options of a conversion, with their defaults, in the order they are stored: the 46
// original keys, then the later ones, each at the end of its section.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace tolvane {

using Flag = std::int8_t;  // 0 off, 1 on; other values survive from hand-edited files

struct CommonSettings {
  Flag concate = 1;
  Flag own_direction = 0;
  std::string icon_url;  // see default_settings()
  float GMT = 9.0f;
  std::int32_t minimum_interval = 50;
  std::int32_t radio_timeout = 60;
  Flag kml_or_html = 0;
  std::int32_t jpeg_larger_edge = 128;  // unsigned in the settings dialog
  std::int32_t jpeg_quality = 75;
  Flag jpeg_quit_overwrite = 0;
  Flag jpeg_embed_link = 0;
  std::int32_t photo_time_offset = 0;  // seconds added to every photo capture time
  // Geotagging: write the track's positions into the photos after a conversion, the longest
  // gap between two fixes that is interpolated, the farthest a photo may be from its nearest
  // fix, and whether the original of a photo is kept beside it.
  Flag geotag = 0;
  std::int32_t geotag_max_gap = 1800;
  std::int32_t geotag_max_extrapolation = 1800;
  Flag geotag_backup = 0;
  // The language of the window and the messages: "auto" (by the locale), "ja" or "en".
  std::string ui_language = "auto";
};

struct GoogleEarthSettings {
  Flag day_hourly = 1;
  Flag embed_time = 0;
  Flag direction_icon = 1;
  Flag no_receive_path = 1;
  Flag show_distance = 1;
  std::int32_t mode = 2;
  Flag open_kml = 1;
  std::int32_t normal_icon_size = 80;
  std::int32_t focus_icon_size = 100;
  std::int32_t normal_jpeg_icon_size = 60;
  std::int32_t focus_jpeg_icon_size = 80;
  std::int32_t line_width = 3;
  std::string line_color = "64eeee17";
  std::string noradio_line_color = "a0606000";
  std::int32_t minimum_movement = 2;
};

struct GoogleMapsSettings {
  std::int32_t xsize = 800;
  std::int32_t ysize = 600;
  Flag direction_icon = 1;
  Flag no_receive_path = 1;
  std::int32_t mode = 10;
  Flag route = 1;
  Flag show_analog = 1;
  Flag show_altitude = 0;
  Flag open_html = 1;
  Flag use_key = 0;
  std::string key;
  std::int32_t icon_size = 28;
  std::int32_t line_width = 5;
  std::int32_t line_alpha = 50;
  std::string line_color = "00ffff";
  std::int32_t api2_zoom = -1;
  std::string noradio_line_color = "006060";
  std::int32_t minimum_movement = 10;
  std::int32_t jpeg_child_window_width = 640;
  std::int32_t jpeg_child_window_height = 680;
  // The page's own map layer: 1 carries it inline, 0 loads the version 2 map API as before.
  Flag builtin_map = 1;
  // Tile URL templates ({s} {z} {x} {y} {r}) and their attributions (HTML) for the built-in layer.
  std::string tile_url =
      "https://server.arcgisonline.com/ArcGIS/rest/services/World_Street_Map/MapServer/tile/"
      "{z}/{y}/{x}";
  std::string tile_attribution =
      "Tiles &copy; Esri &mdash; Source: Esri, DeLorme, NAVTEQ, USGS, Intermap, iPC, NRCAN, "
      "Esri Japan, METI, Esri China (Hong Kong), Esri (Thailand), TomTom, 2012";
  std::string satellite_url =
      "https://server.arcgisonline.com/ArcGIS/rest/services/World_Imagery/MapServer/tile/"
      "{z}/{y}/{x}";
  std::string satellite_attribution =
      "Tiles &copy; Esri &mdash; Source: Esri, i-cubed, USDA, USGS, AEX, GeoEye, Getmapping, "
      "Aerogrid, IGN, IGP, UPR-EGP, and the GIS User Community";
  // Place names and borders drawn over the aerial photos, and their attribution.
  std::string labels_url =
      "https://server.arcgisonline.com/ArcGIS/rest/services/Reference/"
      "World_Boundaries_and_Places/MapServer/tile/{z}/{y}/{x}";
  std::string labels_attribution = "Labels &copy; Esri";
  // The deepest zoom each source has tiles for (0 to 19; see tile_zoom_limit()): deeper, the
  // map draws that zoom's tiles scaled up.
  std::int32_t tile_max_zoom = 19;
  std::int32_t satellite_max_zoom = 19;
  // With the built-in layer, 1 draws the altitude and speed profile with the trip's numbers
  // under the map.
  Flag profile = 1;
};

// The deepest zoom level the map page shows.
inline constexpr std::int32_t kMapMaxZoom = 19;

// A source's deepest zoom as the map uses it: `setting` brought into 0 to kMapMaxZoom.
inline std::int32_t tile_zoom_limit(std::int32_t setting) {
  return setting < 0 ? 0 : setting > kMapMaxZoom ? kMapMaxZoom : setting;
}

struct ConversionSettings {
  CommonSettings common;
  GoogleEarthSettings google_earth;
  GoogleMapsSettings google_maps;
};

// OutputKind is Common.kml_or_html: 0 is a KML document, anything else a map page.
inline bool is_map_page(const ConversionSettings& settings) {
  return settings.common.kml_or_html != 0;
}

// The defaults, with Common.icon_url the file URL of the heading icons that belong to the
// program in `program_dir`: the installed ones (share/tolvane/icons beside the bin folder of the
// installation) when they are there, else the `icons` folder in `program_dir` (the build's).
ConversionSettings default_settings(const std::filesystem::path& program_dir);

// The folder of those icons.
std::filesystem::path heading_icons_dir(const std::filesystem::path& program_dir);

// Calls visit(section, key, field) for every setting in storage order. `field` is a Flag&,
// std::int32_t&, float& (Common.GMT only) or std::string& (const for a const record).
template <class Settings, class Visit>
void for_each_setting(Settings& s, Visit&& visit) {
  auto& c = s.common;
  visit("Common", "concate", c.concate);
  visit("Common", "own_direction", c.own_direction);
  visit("Common", "icon_url", c.icon_url);
  visit("Common", "GMT", c.GMT);
  visit("Common", "minimum_interval", c.minimum_interval);
  visit("Common", "radio_timeout", c.radio_timeout);
  visit("Common", "kml_or_html", c.kml_or_html);
  visit("Common", "jpeg_larger_edge", c.jpeg_larger_edge);
  visit("Common", "jpeg_quality", c.jpeg_quality);
  visit("Common", "jpeg_quit_overwrite", c.jpeg_quit_overwrite);
  visit("Common", "jpeg_embed_link", c.jpeg_embed_link);
  visit("Common", "photo_time_offset", c.photo_time_offset);
  visit("Common", "geotag", c.geotag);
  visit("Common", "geotag_max_gap", c.geotag_max_gap);
  visit("Common", "geotag_max_extrapolation", c.geotag_max_extrapolation);
  visit("Common", "geotag_backup", c.geotag_backup);
  visit("Common", "ui_language", c.ui_language);
  auto& e = s.google_earth;
  visit("GoogleEarth", "day_hourly", e.day_hourly);
  visit("GoogleEarth", "embed_time", e.embed_time);
  visit("GoogleEarth", "direction_icon", e.direction_icon);
  visit("GoogleEarth", "no_receive_path", e.no_receive_path);
  visit("GoogleEarth", "show_distance", e.show_distance);
  visit("GoogleEarth", "mode", e.mode);
  visit("GoogleEarth", "open_kml", e.open_kml);
  visit("GoogleEarth", "normal_icon_size", e.normal_icon_size);
  visit("GoogleEarth", "focus_icon_size", e.focus_icon_size);
  visit("GoogleEarth", "normal_jpeg_icon_size", e.normal_jpeg_icon_size);
  visit("GoogleEarth", "focus_jpeg_icon_size", e.focus_jpeg_icon_size);
  visit("GoogleEarth", "line_width", e.line_width);
  visit("GoogleEarth", "line_color", e.line_color);
  visit("GoogleEarth", "noradio_line_color", e.noradio_line_color);
  visit("GoogleEarth", "minimum_movement", e.minimum_movement);
  auto& m = s.google_maps;
  visit("GoogleMaps", "xsize", m.xsize);
  visit("GoogleMaps", "ysize", m.ysize);
  visit("GoogleMaps", "direction_icon", m.direction_icon);
  visit("GoogleMaps", "no_receive_path", m.no_receive_path);
  visit("GoogleMaps", "mode", m.mode);
  visit("GoogleMaps", "route", m.route);
  visit("GoogleMaps", "show_analog", m.show_analog);
  visit("GoogleMaps", "show_altitude", m.show_altitude);
  visit("GoogleMaps", "open_html", m.open_html);
  visit("GoogleMaps", "use_key", m.use_key);
  visit("GoogleMaps", "key", m.key);
  visit("GoogleMaps", "icon_size", m.icon_size);
  visit("GoogleMaps", "line_width", m.line_width);
  visit("GoogleMaps", "line_alpha", m.line_alpha);
  visit("GoogleMaps", "line_color", m.line_color);
  visit("GoogleMaps", "api2_zoom", m.api2_zoom);
  visit("GoogleMaps", "noradio_line_color", m.noradio_line_color);
  visit("GoogleMaps", "minimum_movement", m.minimum_movement);
  visit("GoogleMaps", "jpeg_child_window_width", m.jpeg_child_window_width);
  visit("GoogleMaps", "jpeg_child_window_height", m.jpeg_child_window_height);
  visit("GoogleMaps", "builtin_map", m.builtin_map);
  visit("GoogleMaps", "tile_url", m.tile_url);
  visit("GoogleMaps", "tile_attribution", m.tile_attribution);
  visit("GoogleMaps", "satellite_url", m.satellite_url);
  visit("GoogleMaps", "satellite_attribution", m.satellite_attribution);
  visit("GoogleMaps", "labels_url", m.labels_url);
  visit("GoogleMaps", "labels_attribution", m.labels_attribution);
  visit("GoogleMaps", "tile_max_zoom", m.tile_max_zoom);
  visit("GoogleMaps", "satellite_max_zoom", m.satellite_max_zoom);
  visit("GoogleMaps", "profile", m.profile);
}

}  // namespace tolvane
