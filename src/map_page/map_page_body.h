// The second half of the map page, piece by piece: marker lines, the point array with its
// read-outs, the polylines cut by reception, the overlay start-up and the end of the head, and
// the body with title, map, photo frame, control form and footer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/track_point.h"
#include "map_page/map_page_switches.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"
#include "writing/track_rules.h"

namespace tolvane {

// The product's home page, linked from the page's footer.
inline constexpr const char* kHomePageAddress = "https://tolvane.example.org/";

// The information text of a marker when route is off (a click opens an information window):
// local date with weekday, time with seconds, distance, speed and course.
std::string marker_information_text(const TrackPoint& local, float distance_km);

// One marker line. `heading_icon` is heading_icon_index of the course with heading icons on
// (ignored otherwise); `information` is empty with route on; `point_index` is the point's
// index in the page's point array.
void write_marker(const MapPageSwitches& page, int heading_icon, const TrackPoint& local,
                  std::string_view information, int point_index, TextSink& out);

// Pushes one point (local time) into `points` and, with route on, its read-out, its minute of
// the day (analog) and its altitude (altitude), followed by an empty line.
void write_track_point(const MapPageSwitches& page, const TrackPoint& local, float distance_km,
                       TextSink& out);

// Altitude in whole metres, truncated toward zero; out-of-range values are clamped to the int
// range and NaN gives 0, so that a wild field cannot cause undefined behaviour.
int whole_metres(float altitude);

// Cuts the page's point array into polylines: a normal stretch in GoogleMaps.line_color, a
// reception-lost one in GoogleMaps.noradio_line_color, written as slices of `points`. For each
// log call begin_log(), then point_pushed() after every point has been written to the array,
// then end_log(). A stretch is written only when it holds at least two points; neighbouring
// stretches share the point where the colour changes.
class PolylineCutter {
 public:
  // `record_gaps`: each reception-lost stretch is also pushed, as its first and last index,
  // into the profile strip's profile_gaps.
  PolylineCutter(const ConversionSettings& settings, TextSink& out, bool record_gaps = false);

  // `restart` is restarts_route() of the log: the gap state is reset and a new stretch starts
  // at the log's first point. Otherwise the open stretch carries on across the logs.
  void begin_log(bool restart);
  // `local` is the point just pushed, in local time.
  void point_pushed(const TrackPoint& local);
  // `close` is true for a log after which the route restarts, or for the last log.
  void end_log(bool close);

 private:
  void write_polyline(int begin, int end, bool weak);

  const GoogleMapsSettings& maps_;
  double opacity_;
  ReceptionGaps gaps_;
  TextSink& out_;
  bool record_gaps_;
  int count_ = 0;  // points pushed so far, over all logs
  int start_ = 0;  // first index of the open stretch
};

// With route on, the overlay start-up for the first point; then the branch for incompatible
// browsers, the end of load(), of the script and of the head.
void write_overlay_startup_and_head_end(const MapPageSwitches& page, TextSink& out);

// The body tag, the title block, the container (photos present) and the map block.
void write_body_start(std::string_view title, const MapPageSwitches& page,
                      const ConversionSettings& settings, TextSink& out);

// The photo frame inside the container: its start, one block per photo, its end (which also
// closes the container).
void write_photo_frame_start(const ConversionSettings& settings, TextSink& out);

// One photo of the frame. Texts are UTF-8 and unescaped; each is escaped for the place it lands
// in (attribute, text, URL, script string), so plain names stay as they are.
struct MapPhotoBlock {
  std::string_view thumbnail_name;  // file name as shown: the link's name and the caption
  std::string_view thumbnail_path;  // folder name, "/", file name; relative to the page
  int thumbnail_width = 0;
  int thumbnail_height = 0;
  float latitude = 0;  // placed position
  float longitude = 0;
  int point_index = 0;                                     // index in the point array
  int year = 0, month = 0, day = 0, hour = 0, minute = 0;  // capture time
  // Photo links on: the URL of the source photo ("file:///..." or "../..." and the path with
  // "/", its path part already percent-encoded) and the width percentage of the child window's
  // image.
  std::string_view source_link;
  int width_percent = 100;
};
void write_photo_block(const MapPageSwitches& page, const MapPhotoBlock& photo, TextSink& out);
void write_photo_frame_end(TextSink& out);

// The clearing block, the control form (route on, or photos present with photo links), the
// footer and the end of the page.
void write_body_end(const MapPageSwitches& page, TextSink& out);

}  // namespace tolvane
