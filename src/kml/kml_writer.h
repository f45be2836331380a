// The text of the KML document, piece by piece: head and styles, Points folder and point
// placemarks, Tracks folder and route lines, Pictures folder and photo placemarks, the end.
#pragma once

#include <string>
#include <string_view>

#include "core/track_point.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// Where the icon images that the styles name live.
struct KmlIconPlaces {
  std::string heading_folder;  // the heading icons are "<heading_folder>/pt000.png" ...
  std::string photo_pin;       // the small red pin of the photo placemarks
  std::string plain_point;     // the icon of points when heading icons are off
};

// The addresses a plain KML document gives: the heading icons under Common.icon_url, the pin
// and the plain icon on the map service's hosts.
KmlIconPlaces web_icon_places(const ConversionSettings& settings);

// The XML declaration, the kml and Document start tags, the generator comment, the name and
// every style: the picture styles only when there are photos, then the 16 heading styles, the
// plain point style and the two line styles.
void write_kml_head(TextSink& sink, const ConversionSettings& settings, std::string_view title,
                    bool photos_present, const KmlIconPlaces& icons);
// The same with the icons at their web addresses.
void write_kml_head(TextSink& sink, const ConversionSettings& settings, std::string_view title,
                    bool photos_present);

void write_points_folder_open(TextSink& sink);

// One point placemark.
struct PointPlacemark {
  const TrackPoint* utc_stamp = nullptr;  // the point as logged, for <TimeStamp>; null: none
  const TrackPoint* local = nullptr;      // the point in local time: name, rows, positions
  bool show_date = true;                  // the date in the name
  bool show_distance = true;              // the distance in the name
  float distance_km = 0;
  int heading_style = -1;  // heading_icon_index for "#track_NN", -1 for "#track"
};
void write_point_placemark(TextSink& sink, const PointPlacemark& placemark);

// The time span of the placemarks (both UTC), a child of the Points folder.
void write_time_span(TextSink& sink, const TrackPoint& first_utc, const TrackPoint& last_utc);
void write_points_folder_close(TextSink& sink);

// Opens a Tracks folder with its first line placemark "path".
void write_tracks_folder_open(TextSink& sink);
// One coordinate of the current line: "lon,lat,0 ".
void write_route_coordinate(TextSink& sink, const TrackPoint& point);
// Ends the current line and begins a reception-lost ("path(weak radio)") or a normal
// ("trackpath") one that starts at `previous`, so that the lines join.
void write_line_switch(TextSink& sink, bool weak, const TrackPoint& previous);
// Ends the current line and the Tracks folder.
void write_tracks_folder_close(TextSink& sink);

void write_pictures_folder_open(TextSink& sink);

// One photo placemark. Texts are UTF-8 and unescaped: each is escaped for its place in the
// description's HTML and its CDATA section, so plain names stay as they are.
struct PhotoPlacemark {
  int number = 1;           // 1, 2, ... in capture-time order
  bool embed_link = false;  // Common.jpeg_embed_link is 1: link to the full photo
  // Full path of the photo with slashes ("C:/..." or "/home/..."), linked as "file:///C:/..."
  // or "file:///home/...".
  std::string_view photo_path;
  std::string_view thumbnail_source;  // folder name, "/", file name; relative to the output
  std::string_view thumbnail_name;    // file name of the thumbnail
  int thumbnail_width = 0;
  int thumbnail_height = 0;
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;  // capture time
  float latitude = 0;                                                  // placed position
  float longitude = 0;
};
void write_photo_placemark(TextSink& sink, const PhotoPlacemark& photo);
void write_pictures_folder_close(TextSink& sink);

void write_kml_end(TextSink& sink);

}  // namespace tolvane
