// Pull reader that turns the track points of a GPX 1.0 or 1.1 file into TrackPoints, one at a
// time, streaming the file through expat.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "core/precise_fix.h"
#include "core/track_point.h"

namespace tolvane {

// One track point of a GPX file as read: what its TrackPoint and its PreciseFix are made of, and
// the fixed-size record a log spool keeps of it.
struct GpxFix {
  static constexpr std::uint8_t kElevation = 1;    // the ele element held a finite number
  static constexpr std::uint8_t kSpeedGiven = 2;   // speed_kmh is the file's, not derived
  static constexpr std::uint8_t kCourseGiven = 4;  // course is the file's, not derived

  double latitude = 0;   // degrees, as written
  double longitude = 0;  // degrees, as written
  double second_fraction = 0;
  double elevation = 0;   // metres; 0 without kElevation
  float speed_kmh = 0;    // given, or derived from the previous point; 0 for the first
  float course = 0;       // given, or the bearing from the previous point; 0 for the first
  std::int32_t year = 0;  // UTC
  std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
  std::uint8_t flags = 0;
};

// The point of a fix. The position, the UTC time and date, speed, course and altitude (0 when
// the elevation is missing or too large for a float) are filled; the raw ddmm.mmmm fields and
// the packed time and date of an NMEA log, which no output reads, are left 0.
TrackPoint track_point_of(const GpxFix& fix);
// The fix at the precision of the file's text.
PreciseFix precise_fix_of(const GpxFix& fix);

// Every trkpt element that closes, in document order, with a usable lat and lon (numbers within
// +-90 and +-180) and a usable time becomes a point; others are skipped. Element names are
// matched by the part after their last ":". The file is parsed in chunks and only the points
// completed by the chunk in hand are held, so memory does not grow with the file. Parsing stops
// at the first error of the XML (the points before it count) or at the end of the file.
class GpxReader {
 public:
  // Empty when the file cannot be opened or the parser cannot be made. A set `stop` (see
  // stop_requested), looked at before every chunk of the file is read, ends the points.
  static std::unique_ptr<GpxReader> open(const std::filesystem::path& path,
                                         const std::atomic<bool>* stop = nullptr);

  struct State;  // the parse in progress, reached by the expat handlers
  explicit GpxReader(std::unique_ptr<State> state);  // open() makes the state
  ~GpxReader();
  GpxReader(const GpxReader&) = delete;
  GpxReader& operator=(const GpxReader&) = delete;

  // 0 when the next point was read into `fix`; -1 when no point is left. `fix` is not touched
  // on -1.
  std::int8_t read(GpxFix& fix);

 private:
  std::unique_ptr<State> state_;
};

}  // namespace tolvane
