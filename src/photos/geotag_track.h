// Where a photo was, from its UTC time and the fixes of every log: interpolation between two
// fixes, the nearest fix, or outside the track, by the rules of the usual command-line
// geotagger, so that users moving over get the same positions.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace tolvane {

struct GeotagFix {
  double time = 0;  // seconds since 1970-01-01 UTC, with the fraction of the log's text
  double latitude = 0;
  double longitude = 0;
  std::optional<double> altitude;
  std::optional<double> speed_kmh;
  std::optional<double> course;
  bool first = false;  // the first fix of its log
};

// Every fix of every log, in time order. 0; -2 when a log cannot be opened, whose index goes
// into `failed_log` when given; -3 when `stop` was set meanwhile.
int read_geotag_fixes(const std::vector<std::filesystem::path>& logs, std::vector<GeotagFix>& fixes,
                      const std::atomic<bool>* stop = nullptr, std::size_t* failed_log = nullptr);

struct GeotagLimits {
  double max_gap = 1800;            // Common.geotag_max_gap: longest gap interpolated
  double max_extrapolation = 1800;  // Common.geotag_max_extrapolation: farthest nearest fix
};

enum class PlaceKind {
  kInterpolated,  // between two fixes; `seconds` is the gap between them
  kNearest,       // at the nearest fix; `seconds` is the time to it
  kBeforeStart,   // outside the track; `seconds` before its first fix
  kAfterEnd,      // outside the track; `seconds` after its last fix
  kInGap,         // outside the track; `seconds` from the nearest fix
};

struct GeotagPlace {
  PlaceKind kind = PlaceKind::kBeforeStart;
  double seconds = 0;
  double latitude = 0;
  double longitude = 0;
  std::optional<double> altitude;
  std::optional<double> speed_kmh;  // of the nearest fix
  std::optional<double> course;     // of the nearest fix
};

inline bool is_on_track(const GeotagPlace& place) {
  return place.kind == PlaceKind::kInterpolated || place.kind == PlaceKind::kNearest;
}

// Places a photo taken at `utc_time` (seconds since 1970-01-01 UTC) on `fixes` (time order).
// Two fixes are interpolated when they are at most max_gap seconds apart, or, where the later
// one starts a log, max_extrapolation seconds; otherwise the nearest fix within
// max_extrapolation seconds gives the position.
GeotagPlace place_on_fixes(const std::vector<GeotagFix>& fixes, double utc_time,
                           const GeotagLimits& limits);

}  // namespace tolvane
