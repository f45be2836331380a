// Calendar helpers: time-zone offsets, day steps, ordering and weekdays.
#include "core/time_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace tolvane {
namespace {

TrackPoint at(int year, int month, int day, int hour, int minute, int second = 0) {
  TrackPoint p;
  p.year = year;
  p.month = month;
  p.day = day;
  p.hour = hour;
  p.minute = minute;
  p.second = second;
  p.utc_hhmmss = hour * 10000 + minute * 100 + second;
  p.utc_ddmmyy = day * 10000 + month * 100 + year % 100;
  return p;
}

std::string text(const TrackPoint& p) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day,
                p.hour, p.minute, p.second);
  return buffer;
}

// One day forward or back on the calendar, field by field.
void step_day(TrackPoint& p, int direction) {
  p.day += direction;
  if (p.day > days_in_month(p.year, p.month)) {
    p.day = 1;
    if (++p.month > 12) {
      p.month = 1;
      ++p.year;
    }
  } else if (p.day < 1) {
    if (--p.month < 1) {
      p.month = 12;
      --p.year;
    }
    p.day = days_in_month(p.year, p.month);
  }
}

std::string shifted(TrackPoint p, float offset) {
  apply_time_offset(p, offset);
  return text(p);
}

TEST(TimeHelpers, AppliesTheOffsetsOfTheExamples) {
  EXPECT_EQ(shifted(at(2007, 12, 31, 15, 30), 9), "2008-01-01 00:30:00");
  EXPECT_EQ(shifted(at(2007, 12, 31, 14, 59, 59), 9), "2007-12-31 23:59:59");
  EXPECT_EQ(shifted(at(2008, 1, 5, 10, 45), 5.5f), "2008-01-05 16:15:00");
  EXPECT_EQ(shifted(at(2008, 3, 1, 2, 10), -3.5f), "2008-02-29 22:40:00");
  EXPECT_EQ(shifted(at(2008, 3, 1, 2, 10, 7), 0), "2008-03-01 02:10:07");
  EXPECT_EQ(shifted(at(2008, 1, 5, 0, 0), 5.75f), "2008-01-05 05:45:00");
  EXPECT_EQ(shifted(at(2008, 1, 5, 0, 0), 5.8f), "2008-01-05 05:48:00");
  EXPECT_EQ(shifted(at(2008, 1, 1, 0, 10), -0.5f), "2007-12-31 23:40:00");
  // Tenths that a float cannot hold exactly still give whole minutes: 9.7 is 9 h 42 min.
  EXPECT_EQ(shifted(at(2008, 1, 5, 0, 0), 9.7f), "2008-01-05 09:42:00");
  EXPECT_EQ(shifted(at(2008, 1, 5, 0, 0), -9.7f), "2008-01-04 14:18:00");

  TrackPoint p = at(2007, 12, 31, 15, 30, 42);
  apply_time_offset(p, 9);
  EXPECT_EQ(p.second, 42);
  EXPECT_EQ(p.utc_hhmmss, 153042);  // the logged UTC fields stay
  EXPECT_EQ(p.utc_ddmmyy, 311207);
}

// The stepwise rule: the minutes of the fraction (rounded) carried at most one hour, then the
// whole hours carried at most one day.
std::string stepwise(TrackPoint p, float offset) {
  const int whole = static_cast<int>(offset);
  const double fraction = static_cast<double>(offset) - whole;
  if (fraction != 0) {
    p.minute += static_cast<int>(std::lround(fraction * 60));
    if (p.minute > 59) {
      p.minute -= 60;
      ++p.hour;
    } else if (p.minute < 0) {
      p.minute += 60;
      --p.hour;
    }
  }
  p.hour += whole;
  if (p.hour > 23) {
    p.hour -= 24;
    step_day(p, 1);
  } else if (p.hour < 0) {
    p.hour += 24;
    step_day(p, -1);
  }
  return text(p);
}

TEST(TimeHelpers, WholePartsWithinADayKeepTheStepwiseResults) {
  const TrackPoint starts[] = {at(2008, 2, 28, 23, 59),  at(2008, 3, 1, 0, 0),
                               at(2007, 12, 31, 12, 30), at(2000, 2, 29, 0, 1),
                               at(1999, 1, 1, 23, 0),    at(2099, 12, 31, 11, 59)};
  for (const TrackPoint& start : starts) {
    for (int quarter = -23 * 4 - 3; quarter <= 23 * 4 + 3; ++quarter) {
      for (float offset : {quarter / 4.0f, quarter / 10.0f}) {
        EXPECT_EQ(shifted(start, offset), stepwise(start, offset)) << text(start) << " " << offset;
      }
    }
  }
}

TEST(TimeHelpers, LargeOffsetsAreCarriedThroughTheCalendar) {
  EXPECT_EQ(shifted(at(2008, 1, 1, 0, 0), 48), "2008-01-03 00:00:00");
  EXPECT_EQ(shifted(at(2008, 1, 1, 0, 0), -24.5f), "2007-12-30 23:30:00");
  EXPECT_EQ(shifted(at(2008, 2, 28, 12, 0), 24 * 366), "2009-02-28 12:00:00");
  EXPECT_EQ(shifted(at(2000, 1, 1, 0, 0), 24.0f * 146097), "2400-01-01 00:00:00");
  // Nonsense offsets from a hand-edited file neither crash nor leave the calendar.
  for (float offset : {1e30f, -1e30f, std::numeric_limits<float>::infinity(),
                       std::numeric_limits<float>::quiet_NaN()}) {
    TrackPoint p = at(2008, 1, 1, 0, 0);
    apply_time_offset(p, offset);
    EXPECT_TRUE(p.month >= 1 && p.month <= 12 && p.day >= 1 &&
                p.day <= days_in_month(p.year, p.month) && p.hour >= 0 && p.hour <= 23)
        << offset;
  }
  EXPECT_EQ(shifted(at(2008, 1, 1, 3, 4, 5), std::numeric_limits<float>::quiet_NaN()),
            "2008-01-01 03:04:05");
}

TEST(TimeHelpers, DaySteps) {
  EXPECT_EQ(shifted(at(1900, 2, 28, 12, 0), 24), "1900-03-01 12:00:00");
  EXPECT_EQ(shifted(at(2000, 2, 28, 12, 0), 24), "2000-02-29 12:00:00");
  EXPECT_EQ(shifted(at(2008, 12, 31, 12, 0), 24), "2009-01-01 12:00:00");
  EXPECT_EQ(shifted(at(2008, 4, 30, 12, 0), 24), "2008-05-01 12:00:00");
  EXPECT_EQ(shifted(at(2008, 3, 1, 12, 0), -24), "2008-02-29 12:00:00");
  EXPECT_EQ(shifted(at(2007, 3, 1, 12, 0), -24), "2007-02-28 12:00:00");
  EXPECT_EQ(shifted(at(2008, 1, 1, 12, 0), -24), "2007-12-31 12:00:00");
  EXPECT_EQ(shifted(at(2008, 5, 1, 12, 0), -24), "2008-04-30 12:00:00");
  EXPECT_EQ(days_in_month(2100, 2), 28);
  EXPECT_EQ(days_in_month(2400, 2), 29);
  EXPECT_EQ(days_in_month(2008, 13), 0);
}

TEST(TimeHelpers, ComparesByTheSixTimestampFields) {
  const TrackPoint later = at(2008, 1, 5, 10, 0, 0);
  const TrackPoint earlier = at(2008, 1, 5, 9, 59, 59);
  EXPECT_EQ(compare_timestamps(later, earlier), 1);
  EXPECT_EQ(compare_timestamps(earlier, later), -1);
  TrackPoint elsewhere = later;
  elsewhere.latitude = 10;
  elsewhere.utc_hhmmss = 1;
  EXPECT_EQ(compare_timestamps(later, elsewhere), 0);
  EXPECT_EQ(compare_timestamps(at(2007, 12, 31, 23, 0), at(2008, 1, 1, 0, 0)), -1);
  EXPECT_EQ(compare_timestamps(at(2008, 2, 1, 0, 0), at(2008, 1, 31, 0, 0)), 1);
}

TEST(TimeHelpers, Weekdays) {
  EXPECT_EQ(weekday_index(2008, 1, 5), 6);
  EXPECT_EQ(weekday_index(2000, 1, 1), 6);
  EXPECT_EQ(weekday_index(2008, 3, 2), 0);
  EXPECT_EQ(weekday_index(2008, 2, 29), 5);
  // Day by day over four centuries the weekday advances by one.
  TrackPoint day = at(2000, 1, 1, 0, 0);
  int expected = 6;
  for (int i = 0; i < 146097; ++i) {
    ASSERT_EQ(weekday_index(day.year, day.month, day.day), expected) << text(day);
    step_day(day, 1);
    expected = (expected + 1) % 7;
  }
  char buffer[4];
  weekday_kanji(buffer, 2008, 1, 5);
  EXPECT_STREQ(buffer, "\xE5\x9C\x9F");  // Saturday
  weekday_kanji(buffer, 2008, 3, 2);
  EXPECT_STREQ(buffer, "\xE6\x97\xA5");  // Sunday
  weekday_kanji(buffer, 2008, 1, 7);
  EXPECT_STREQ(buffer, "\xE6\x9C\x88");  // Monday
  // No date makes it read outside its tables.
  for (int month : {-13, 0, 13, 100}) {
    const int w = weekday_index(2008, month, 40);
    EXPECT_TRUE(w >= 0 && w <= 6);
  }
  EXPECT_EQ(weekday_index(2008, 13, 1), weekday_index(2009, 1, 1));
}

}  // namespace
}  // namespace tolvane
