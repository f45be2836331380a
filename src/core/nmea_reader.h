// Pull reader that turns the next $GPGGA/$GPRMC pair of an open NMEA log into a TrackPoint.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/track_point.h"

namespace tolvane {

// Reads from `log` (opened for reading) into `point`. Returns 0 when a point was read and -1
// when no further point can be read; after -1 `point` may be partly overwritten.
std::int8_t read_track_point(std::FILE* log, TrackPoint& point);

}  // namespace tolvane
