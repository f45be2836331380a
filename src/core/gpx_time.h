// The time of a GPX track point: the text of its time element turned into UTC.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvane {

struct UtcTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  // The fraction of the second as written (0 <= fraction < 1); the fields above leave it out.
  double fraction = 0.0;

  // Whole seconds since 1970-01-01 00:00:00, for differences between two times.
  std::int64_t seconds() const;
};

// The time from `earlier` to `later` in seconds, fractions included.
double seconds_between(const UtcTime& earlier, const UtcTime& later);

// Reads "YYYY-MM-DDThh:mm:ss", an optional fraction of a second (kept apart), then "Z", "+hh:mm",
// "-hh:mm", "+hhmm", "-hhmm" or nothing (UTC), and gives the UTC time. `text` has no blanks
// around it. Empty for anything else: other separators or digit counts, a date that is not in
// the calendar, hours over 23, minutes or seconds over 59, and a UTC time outside the years
// 0000 to 9999.
std::optional<UtcTime> parse_gpx_time(std::string_view text);

}  // namespace tolvane
