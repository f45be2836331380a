// Calendar operations on track points: UTC to local time, day steps, ordering, weekdays.
#pragma once

#include <cstdint>

#include "core/track_point.h"

namespace tolvane {

// Shifts hour, minute, year, month and day of `point` from UTC by `offset_hours` (Common.GMT).
void apply_time_offset(TrackPoint& point, float offset_hours);
// The minutes by which apply_time_offset shifts: the whole hours and the rounded minutes of the
// fraction (0 for NaN).
std::int64_t time_offset_minutes(float offset_hours);

// Days since 1970-01-01 of a proleptic Gregorian date; months and days out of range carry over.
std::int64_t days_since_epoch(int year, int month, int day);
// Moves year, month, day, hour, minute and second of `point` by `seconds`, either way, carrying
// as far as needed; fields out of range carry over first.
void shift_timestamp(TrackPoint& point, std::int64_t seconds);

int days_in_month(int year, int month);

// hour x 60 + minute, and (hour x 60 + minute) x 60 + second, of the point as it stands.
int minute_of_day(const TrackPoint& point);
int second_of_day(const TrackPoint& point);

// -1, 0 or +1 by (year, month, day, hour, minute, second).
int compare_timestamps(const TrackPoint& a, const TrackPoint& b);

// 0 (Sunday) to 6 (Saturday).
int weekday_index(int year, int month, int day);

// Writes the weekday kanji of the date as three UTF-8 bytes and a zero byte (buffer >= 4 bytes).
void weekday_kanji(char* buffer, int year, int month, int day);

}  // namespace tolvane
