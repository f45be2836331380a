#include "core/track_point.h"

namespace tolvane {

void copy_track_point(TrackPoint& destination, const TrackPoint& source) {
  const float altitude = destination.altitude;
  destination = source;
  destination.altitude = altitude;
}

}  // namespace tolvane
