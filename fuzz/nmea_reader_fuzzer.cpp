// Feeds arbitrary bytes to the NMEA reader as a log and reads every point out of it. Besides
// crashes and sanitizer reports, it stops on a point that is no time of day, no calendar date
// or no position, and on a local time that leaves the calendar.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/nmea_reader.h"
#include "core/time_helpers.h"

namespace {

bool is_calendar_time(const tolvane::TrackPoint& p) {
  return p.hour >= 0 && p.hour <= 23 && p.minute >= 0 && p.minute <= 59 && p.month >= 1 &&
         p.month <= 12 && p.day >= 1 && p.day <= tolvane::days_in_month(p.year, p.month);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first bytes double as a time-zone offset, as a hand-edited settings file may hold any.
  float offset = 9.0f;
  if (size >= sizeof offset) std::memcpy(&offset, data, sizeof offset);

  std::FILE* log = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (!log) return 0;
  tolvane::TrackPoint point;
  while (tolvane::read_track_point(log, point) == 0) {
    if (!is_calendar_time(point) || point.second < 0 || point.second > 59 ||
        !(std::fabs(point.latitude) <= 90.0f) || !(std::fabs(point.longitude) <= 180.0f) ||
        !std::isfinite(point.speed_kmh) || !std::isfinite(point.course) ||
        !std::isfinite(point.altitude)) {
      __builtin_trap();
    }
    tolvane::TrackPoint local = point;
    tolvane::apply_time_offset(local, offset);
    if (!is_calendar_time(local)) __builtin_trap();
    char kanji[4];
    tolvane::weekday_kanji(kanji, local.year, local.month, local.day);
  }
  std::fclose(log);
  return 0;
}
