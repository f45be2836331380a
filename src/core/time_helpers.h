// Calendar operations on track points: UTC to local time, day steps, ordering, weekdays.
#pragma once

#include "core/track_point.h"

namespace tolvane {

// Shifts hour, minute, year, month and day of `point` from UTC by `offset_hours` (Common.GMT).
void apply_time_offset(TrackPoint& point, float offset_hours);

void next_day(int& year, int& month, int& day);
void previous_day(int& year, int& month, int& day);
int days_in_month(int year, int month);

// -1, 0 or +1 by (year, month, day, hour, minute, second).
int compare_timestamps(const TrackPoint& a, const TrackPoint& b);

// 0 (Sunday) to 6 (Saturday).
int weekday_index(int year, int month, int day);

// Writes the weekday kanji of the date as three UTF-8 bytes and a zero byte (buffer >= 4 bytes).
void weekday_kanji(char* buffer, int year, int month, int day);

}  // namespace tolvane
