#include "core/gpx_time.h"

#include "core/time_helpers.h"

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

// Days of the proleptic Gregorian calendar counted from 0000-03-01; only differences and the
// way back are used.
std::int64_t days_from_civil(int year, int month, int day) {
  const std::int64_t y = month <= 2 ? year - 1 : year;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t year_of_era = y - era * 400;
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era;
}

void civil_from_days(std::int64_t days, int& year, int& month, int& day) {
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t shifted_month = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

std::int64_t UtcTime::seconds() const {
  return days_from_civil(year, month, day) * kSecondsPerDay + (hour * 60 + minute) * 60 + second;
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
  if (at < text.size() && text[at] == '.') {
    const std::size_t first_digit = ++at;
    while (at < text.size() && is_digit(text[at])) ++at;
    if (at == first_digit) return std::nullopt;
  }

  int zone_seconds = 0;
  const std::string_view zone = text.substr(at);
  if (zone == "Z") {
  } else if (!zone.empty()) {
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

  const std::int64_t utc = local.seconds() - zone_seconds;
  std::int64_t days = utc / kSecondsPerDay;
  std::int64_t second_of_day = utc % kSecondsPerDay;
  if (second_of_day < 0) {
    second_of_day += kSecondsPerDay;
    --days;
  }
  UtcTime result;
  civil_from_days(days, result.year, result.month, result.day);
  if (result.year < 0 || result.year > 9999) return std::nullopt;
  result.hour = static_cast<int>(second_of_day / 3600);
  result.minute = static_cast<int>(second_of_day / 60 % 60);
  result.second = static_cast<int>(second_of_day % 60);
  return result;
}

}  // namespace tolvane
