#include "core/time_helpers.h"

#include <cmath>
#include <cstdint>

namespace tolvane {
namespace {

bool is_leap_year(std::int64_t year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date; months outside 1..12 and days outside
// the month carry over into the neighbouring months, so no input is out of range.
std::int64_t days_from_civil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year += floor_div(month - 1, 12);
  month = month - 1 - 12 * floor_div(month - 1, 12) + 1;
  year -= month <= 2;
  const std::int64_t era = floor_div(year, 400);
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

void civil_from_days(std::int64_t days, std::int64_t& year, std::int64_t& month,
                     std::int64_t& day) {
  days += 719468;
  const std::int64_t era = floor_div(days, 146097);
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t mp = (5 * day_of_year + 2) / 153;
  day = day_of_year - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = year_of_era + era * 400 + (month <= 2);
}

// Offsets beyond this many hours (about a million years) are held at it, so that every
// shifted year still fits its int.
constexpr double kLargestOffsetHours = 24.0 * 366.0 * 1e6;

}  // namespace

int days_in_month(int year, int month) {
  switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    case 2:
      return is_leap_year(year) ? 29 : 28;
    default:
      return 0;
  }
}

std::int64_t time_offset_minutes(float offset_hours) {
  double offset = offset_hours;
  if (std::isnan(offset)) return 0;
  if (offset > kLargestOffsetHours) offset = kLargestOffsetHours;
  if (offset < -kLargestOffsetHours) offset = -kLargestOffsetHours;

  // Whole hours truncated toward zero and the minutes of the fraction (-3.5 is -3 hours and
  // -30 minutes). The minutes are rounded, not truncated: 9.7 held as a float is 9.69999981,
  // whose fraction would otherwise give 41 minutes instead of 42.
  const std::int64_t whole = static_cast<std::int64_t>(offset);
  const double fraction = offset - static_cast<double>(whole);
  return whole * 60 + std::llround(fraction * 60.0);
}

void apply_time_offset(TrackPoint& point, float offset_hours) {
  if (std::isnan(offset_hours)) return;
  // The time of day and then the date are carried as far as they need.
  const std::int64_t minutes =
      static_cast<std::int64_t>(point.hour) * 60 + point.minute + time_offset_minutes(offset_hours);
  const std::int64_t day_shift = floor_div(minutes, 24 * 60);
  const std::int64_t minute_of_day = minutes - day_shift * 24 * 60;
  point.hour = static_cast<int>(minute_of_day / 60);
  point.minute = static_cast<int>(minute_of_day % 60);
  if (day_shift == 0) return;

  std::int64_t year = 0;
  std::int64_t month = 0;
  std::int64_t day = 0;
  civil_from_days(days_from_civil(point.year, point.month, point.day) + day_shift, year, month,
                  day);
  point.year = static_cast<int>(year);
  point.month = static_cast<int>(month);
  point.day = static_cast<int>(day);
}

std::int64_t days_since_epoch(int year, int month, int day) {
  return days_from_civil(year, month, day);
}

void shift_timestamp(TrackPoint& point, std::int64_t seconds) {
  constexpr std::int64_t kSecondsPerDay = 86400;
  const std::int64_t total = days_from_civil(point.year, point.month, point.day) * kSecondsPerDay +
                             (static_cast<std::int64_t>(point.hour) * 60 + point.minute) * 60 +
                             point.second + seconds;
  const std::int64_t days = floor_div(total, kSecondsPerDay);
  const std::int64_t second_of_day = total - days * kSecondsPerDay;
  std::int64_t year = 0;
  std::int64_t month = 0;
  std::int64_t day = 0;
  civil_from_days(days, year, month, day);
  point.year = static_cast<int>(year);
  point.month = static_cast<int>(month);
  point.day = static_cast<int>(day);
  point.hour = static_cast<int>(second_of_day / 3600);
  point.minute = static_cast<int>(second_of_day / 60 % 60);
  point.second = static_cast<int>(second_of_day % 60);
}

int minute_of_day(const TrackPoint& point) { return point.hour * 60 + point.minute; }

int second_of_day(const TrackPoint& point) {
  return (point.hour * 60 + point.minute) * 60 + point.second;
}

int compare_timestamps(const TrackPoint& a, const TrackPoint& b) {
  const std::int32_t TrackPoint::*const fields[] = {&TrackPoint::year,   &TrackPoint::month,
                                                    &TrackPoint::day,    &TrackPoint::hour,
                                                    &TrackPoint::minute, &TrackPoint::second};
  for (auto field : fields) {
    if (a.*field < b.*field) return -1;
    if (a.*field > b.*field) return 1;
  }
  return 0;
}

int weekday_index(int year, int month, int day) {
  static constexpr int kMonthTable[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 1 || month > 12) {
    // Not a calendar month: count it into the neighbouring years instead of reading outside
    // the table.
    // 1 January 1970 was a Thursday.
    const std::int64_t days = days_from_civil(year, month, day) + 4;
    return static_cast<int>(days - floor_div(days, 7) * 7);
  }
  std::int64_t y = year;
  if (month <= 2) --y;
  const std::int64_t sum = y + floor_div(y, 4) - floor_div(y, 100) + floor_div(y, 400) +
                           kMonthTable[month - 1] + static_cast<std::int64_t>(day);
  return static_cast<int>(sum - floor_div(sum, 7) * 7);
}

void weekday_kanji(char* buffer, int year, int month, int day) {
  static constexpr const char* kKanji[7] = {"\xE6\x97\xA5", "\xE6\x9C\x88", "\xE7\x81\xAB",
                                            "\xE6\xB0\xB4", "\xE6\x9C\xA8", "\xE9\x87\x91",
                                            "\xE5\x9C\x9F"};
  const char* kanji = kKanji[weekday_index(year, month, day)];
  buffer[0] = kanji[0];
  buffer[1] = kanji[1];
  buffer[2] = kanji[2];
  buffer[3] = '\0';
}

}  // namespace tolvane
