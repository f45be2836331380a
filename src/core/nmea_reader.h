// Pull reader that turns the next GGA/RMC pair of an open NMEA log into a TrackPoint.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "core/precise_fix.h"
#include "core/track_point.h"

namespace tolvane {

// Reads from `log` (opened for reading) into `point`. Returns 0 when a point was read and -1
// when no further point can be read; after -1 `point` may be partly overwritten. A set `stop`
// (see stop_requested), looked at before every line, also ends the reading with -1.
//
// A point is a GGA sentence (for the altitude) and the next RMC sentence (for everything else),
// each found as two capitals A-Z, the first not P, and the three letters of its type anywhere
// in a line: $GPGGA, $GNGGA, $GLRMC and the like, whatever the two talkers.
// A damaged pair (too few fields, an empty time, position or date, a field over its length
// limit, a time of day, date or position out of range) is skipped and reading goes on with
// the next GGA. Only the altitude is written before a pair is known to be good, so after -1
// fields 1 to 18 still hold the previous point.
// With `precise`, a point read also fills it from the same two sentences in double precision.
std::int8_t read_track_point(std::FILE* log, TrackPoint& point,
                             const std::atomic<bool>* stop = nullptr,
                             PreciseFix* precise = nullptr);

}  // namespace tolvane
