// One fix at the precision of its log's own text, for what needs more than the single-precision
// fields of a TrackPoint: the positions written into photos.
#pragma once

#include <optional>

namespace tolvane {

struct PreciseFix {
  double latitude = 0;              // decimal degrees, north positive
  double longitude = 0;             // decimal degrees, east positive
  double second_fraction = 0;       // the part of a second after the point's whole second, [0, 1)
  std::optional<double> altitude;   // metres, when the log gives one
  std::optional<double> speed_kmh;  // when the log gives one
  std::optional<double> course;     // degrees, when the log gives one
};

}  // namespace tolvane
