// Pull reader that turns the next $GPGGA/$GPRMC pair of an open NMEA log into a TrackPoint.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "core/track_point.h"

namespace tolvane {

// Reads from `log` (opened for reading) into `point`. Returns 0 when a point was read and -1
// when no further point can be read; after -1 `point` may be partly overwritten.
//
// A point is a $GPGGA line (for the altitude) and the next $GPRMC line (for everything else).
// A damaged pair (too few fields, an empty time, position or date, a field over its length
// limit, a time of day, date or position out of range) is skipped and reading goes on with
// the next $GPGGA. Only the altitude is written before a pair is known to be good, so after -1
// fields 1 to 18 still hold the previous point.
std::int8_t read_track_point(std::FILE* log, TrackPoint& point);

// Closes the log, then frees the stream buffer that open_log gave it.
struct LogFileCloser {
  std::unique_ptr<char[]> buffer;
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using LogFile = std::unique_ptr<std::FILE, LogFileCloser>;

// Opens a log for reading with a buffer suited to streaming it; empty when it cannot be opened.
LogFile open_log(const std::filesystem::path& path);

}  // namespace tolvane
