// One fix of a GPS track as read from a $GPGGA/$GPRMC pair, and its field-wise copy.
#pragma once

#include <cstdint>

namespace tolvane {

// Nineteen four-byte fields in log order. Times and dates are UTC when read; apply_time_offset
// turns hour, minute, year, month and day into local time and leaves the rest alone.
struct TrackPoint {
  float raw_latitude = 0;        // ddmm.mmmm as logged, no sign
  float raw_longitude = 0;       // dddmm.mmmm as logged, no sign
  float latitude_fraction = 0;   // raw latitude minus its integer part
  float longitude_fraction = 0;  // raw longitude minus its integer part
  float latitude = 0;            // decimal degrees, north positive
  float longitude = 0;           // decimal degrees, east positive
  std::int32_t raw_latitude_int = 0;
  std::int32_t raw_longitude_int = 0;
  float speed_kmh = 0;
  float course = 0;  // degrees, as logged
  std::int32_t utc_hhmmss = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
  std::int32_t utc_ddmmyy = 0;
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  float altitude = 0;  // metres, from $GPGGA
};

// Copies every field but the altitude; the destination keeps its own.
void copy_track_point(TrackPoint& destination, const TrackPoint& source);

}  // namespace tolvane
