// The map page's profile strip: the compact per-point data that the strip draws, written
// alongside the point array, and the block under the map with the trip's numbers.
#pragma once

#include <cstdint>
#include <string>

#include "core/track_point.h"
#include "core/trip_stats.h"
#include "map_page/map_page_switches.h"
#include "settings/conversion_settings.h"
#include "writing/text_sink.h"

namespace tolvane {

// Encodes each point of the point array into `profile_points`, a script string of base64
// digits, written in statements of a bounded number of points so that nothing grows with the
// track. A point is four variable-length numbers (five bits a digit, the sixth says that another
// digit follows; signed numbers carry their sign in the lowest bit):
//   1. seconds since the previous point, signed (the first point: since local midnight of its
//      day);
//   2. metres of distance since the previous point, from the trip's running distance rounded to
//      whole metres;
//   3. the change of the speed in 0.1 km/h, signed;
//   4. 0 when the point has no altitude, else 1 + 2 x the change of the altitude in whole metres
//      since the last point that had one (signed; from 0 at the start).
class ProfileEncoder {
 public:
  explicit ProfileEncoder(TextSink& out) : out_(out) {}
  ~ProfileEncoder() { flush(); }
  ProfileEncoder(const ProfileEncoder&) = delete;
  ProfileEncoder& operator=(const ProfileEncoder&) = delete;

  // `local` in local time; `distance_km` the running distance after it.
  void add(const TrackPoint& local, bool altitude_known, double distance_km);
  // Writes the points not yet written.
  void flush();

 private:
  void number(std::uint64_t value);
  void signed_number(std::int64_t value);

  TextSink& out_;
  std::string digits_;
  int pending_ = 0;  // points in digits_
  bool started_ = false;
  std::int64_t time_ = 0;
  std::int64_t metres_ = 0;
  std::int64_t speed_ = 0;
  std::int64_t altitude_ = 0;
};

// Inside load(), after the point array: makes the strip from the data, with the day of the
// first point (days since 1970-01-01, local) from which the data's times count; with route on a
// click on the strip moves the replay.
void write_profile_startup(const TripStats& stats, const MapPageSwitches& page, TextSink& out);

// The block under the map: the trip's numbers (the total, and each day when there are several),
// and the element the strip is drawn into, as wide as the map.
void write_profile_block(const TripStats& stats, const ConversionSettings& settings, TextSink& out);

// The numbers of one day or of the whole track as the page shows them, rounded for reading.
std::string trip_numbers_text(const TripNumbers& numbers);

}  // namespace tolvane
