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

  // 0 when the next point was read into `point` (all nineteen fields); -1 when no point is left.
  // `point` is not touched on -1.
  std::int8_t read(TrackPoint& point);
  // True when the point read last had an ele element holding a number (its altitude is 0
  // without one).
  bool last_had_elevation() const;
  // The same, with the point's values in double precision in `precise`: a reader asked so from
  // its first point on keeps them for every point (the other reads leave `precise` alone).
  std::int8_t read(TrackPoint& point, PreciseFix& precise);

 private:
  std::unique_ptr<State> state_;
};

}  // namespace tolvane
