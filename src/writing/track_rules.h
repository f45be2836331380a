// The track rules that the KML run and the map page run share: the running route length, heading
// icon number, document title, the choice of points for placemarks or markers, and reception gaps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/track_point.h"
#include "settings/conversion_settings.h"

namespace tolvane {

// A latitude or longitude of 360 marks that there is no position yet.
inline constexpr float kNoPosition = 360.0f;

// Compass sector 0..15 of a course (sector 0 centred on north, 22.5 degrees each). A negative
// course is first brought into 0..360 degrees.
int heading_icon_index(float course);

// "2008年1月5日(土)" when both points (local time) lie on one date, else "first - last".
std::string date_title(const TrackPoint& first_local, const TrackPoint& last_local);

// True when the log at `log_index` (sorted order) starts the route afresh: Common.concate is 0
// or it is the first log. Distance, gap state and (KML) the Tracks folder restart there.
bool restarts_route(const ConversionSettings& settings, std::size_t log_index);

// The running route length. Call begin_log() at the start of every log, then add() for every
// point of the log in order. A log's first point adds nothing: when the log restarts the route
// it becomes the reference with a total of 0, otherwise the total and reference carry on. Any
// later point whose distance from the reference exceeds the threshold is added and becomes the
// new reference; smaller steps leave the reference where it was.
class DistanceTotal {
 public:
  explicit DistanceTotal(float threshold_km) : threshold_km_(threshold_km) {}
  // Common.minimum_interval metres, held in km as a float.
  static DistanceTotal from_settings(const ConversionSettings& settings);

  void begin_log(bool restart_route);
  void add(const TrackPoint& point);
  float km() const { return total_km_; }

 private:
  float threshold_km_;
  float reference_latitude_ = kNoPosition;
  float reference_longitude_ = kNoPosition;
  float total_km_ = 0;
  bool at_log_start_ = true;
  bool restart_ = true;
};

// Picks the points that become placemarks (KML) or markers (map page): a log's first point
// always, then the first point at or after each due minute that has moved more than the
// movement threshold in both latitude and longitude from the last one taken. Minutes are those
// of the point as logged (UTC); passing midnight is read with a 12-hour rule. Call begin_log()
// at the start of every log and take() for every point of it in order.
class PointSelector {
 public:
  PointSelector(std::int32_t interval_minutes, float movement_degrees)
      : interval_minutes_(interval_minutes), movement_degrees_(movement_degrees) {}
  // GoogleEarth.mode and GoogleEarth.minimum_movement x 0.0001 degrees.
  static PointSelector for_kml(const ConversionSettings& settings);
  // GoogleMaps.mode and GoogleMaps.minimum_movement x 0.0001 degrees.
  static PointSelector for_map_page(const ConversionSettings& settings);

  void begin_log() { due_minute_ = -1; }
  // True when the point is taken.
  bool take(const TrackPoint& point);

  // -1 before a log's first point, else the minute of the day from which the next point is due.
  std::int64_t due_minute() const { return due_minute_; }

 private:
  std::int32_t interval_minutes_;
  float movement_degrees_;
  std::int64_t due_minute_ = -1;  // wide, so that any interval setting stays defined
  float marked_latitude_ = kNoPosition;
  float marked_longitude_ = kNoPosition;
};

// What the route line does before a point is added to it.
enum class LineSwitch {
  kNone,      // the point continues the current line
  kToWeak,    // the current line ends; a reception-lost line begins at the previous point
  kToNormal,  // the reception-lost line ends; a normal line begins at the previous point
};

// Detects the stretches of a route where the receiver was silent: a time step of at least the
// timeout starts one, the next shorter step ends it. Only when no_receive_path is exactly 1;
// otherwise the line is never split. Times are seconds of the day (UTC in the KML run, local
// time in the map page run); a value more than 12 hours before the previous one is read as the
// next day, and any other step back in time counts as shorter than the timeout.
class ReceptionGaps {
 public:
  ReceptionGaps(std::int32_t radio_timeout_seconds, Flag no_receive_path)
      : timeout_seconds_(radio_timeout_seconds), split_(no_receive_path == 1) {}
  // Common.radio_timeout with GoogleEarth.no_receive_path.
  static ReceptionGaps for_kml(const ConversionSettings& settings);
  // Common.radio_timeout with GoogleMaps.no_receive_path.
  static ReceptionGaps for_map_page(const ConversionSettings& settings);

  // No previous point, not weak: at the start of a log that restarts the route.
  void restart() {
    has_previous_ = false;
    weak_ = false;
  }
  // Tests the step from the previous point to this one and records this one.
  LineSwitch add(int second_of_day);
  // True while the line runs through a reception-lost stretch.
  bool weak() const { return weak_; }

 private:
  std::int32_t timeout_seconds_;
  bool split_;
  bool has_previous_ = false;
  std::int64_t previous_second_ = 0;
  bool weak_ = false;
};

}  // namespace tolvane
