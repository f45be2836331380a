#include "core/gpx_time.h"

#include "core/time_helpers.h"
#include "core/track_point.h"

namespace tolvane {
namespace {

constexpr int kSecondsPerDay = 86400;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number written by exactly `count` digits at `at`; -1 when they are not all digits.
int digits(std::string_view text, std::size_t at, std::size_t count) {
  if (text.size() < at + count) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (!is_digit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::int64_t UtcTime::seconds() const {
  return days_since_epoch(year, month, day) * kSecondsPerDay + (hour * 60 + minute) * 60 + second;
}

double seconds_between(const UtcTime& earlier, const UtcTime& later) {
  return static_cast<double>(later.seconds() - earlier.seconds()) +
         (later.fraction - earlier.fraction);
}

std::optional<UtcTime> parse_gpx_time(std::string_view text) {
  // YYYY-MM-DDThh:mm:ss
  if (text.size() < 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  UtcTime local;
  local.year = digits(text, 0, 4);
  local.month = digits(text, 5, 2);
  local.day = digits(text, 8, 2);
  local.hour = digits(text, 11, 2);
  local.minute = digits(text, 14, 2);
  local.second = digits(text, 17, 2);
  if (local.year < 0 || local.month < 1 || local.month > 12 || local.day < 1 ||
      local.day > days_in_month(local.year, local.month) || local.hour < 0 || local.hour > 23 ||
      local.minute < 0 || local.minute > 59 || local.second < 0 || local.second > 59) {
    return std::nullopt;
  }

  std::size_t at = 19;
  double fraction = 0.0;
  if (at < text.size() && text[at] == '.') {
    const std::size_t first_digit = ++at;
    // Nine digits (nanoseconds) are kept; more say nothing a receiver measures.
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
    while (at < text.size() && is_digit(text[at])) {
      if (at - first_digit < 9) {
        numerator = numerator * 10 + (text[at] - '0');
        denominator *= 10;
      }
      ++at;
    }
    if (at == first_digit) return std::nullopt;
    fraction = static_cast<double>(numerator) / static_cast<double>(denominator);
  }

  int zone_seconds = 0;
  const std::string_view zone = text.substr(at);
  if (!zone.empty() && zone != "Z") {
    if (zone[0] != '+' && zone[0] != '-') return std::nullopt;
    int hours = -1;
    int minutes = -1;
    if (zone.size() == 6 && zone[3] == ':') {
      hours = digits(zone, 1, 2);
      minutes = digits(zone, 4, 2);
    } else if (zone.size() == 5) {
      hours = digits(zone, 1, 2);
      minutes = digits(zone, 3, 2);
    }
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return std::nullopt;
    zone_seconds = (hours * 60 + minutes) * 60 * (zone[0] == '-' ? -1 : 1);
  }

  TrackPoint utc;
  utc.year = local.year;
  utc.month = local.month;
  utc.day = local.day;
  utc.hour = local.hour;
  utc.minute = local.minute;
  utc.second = local.second;
  if (zone_seconds != 0) shift_timestamp(utc, -zone_seconds);
  if (utc.year < 0 || utc.year > 9999) return std::nullopt;
  return UtcTime{utc.year, utc.month, utc.day, utc.hour, utc.minute, utc.second, fraction};
}

}  // namespace tolvane
