#include "photos/geotag_track.h"

#include <algorithm>
#include <cmath>

#include "core/log_file.h"
#include "core/precise_fix.h"
#include "core/run_contracts.h"
#include "core/time_helpers.h"

namespace tolvane {

int read_geotag_fixes(const std::vector<std::filesystem::path>& logs, std::vector<GeotagFix>& fixes,
                      const std::atomic<bool>* stop, std::size_t* failed_log) {
  fixes.clear();
  for (std::size_t index = 0; index < logs.size(); ++index) {
    LogFile log = open_log(logs[index]);
    if (!log) {
      if (failed_log) *failed_log = index;
      return -2;
    }
    const std::size_t log_begin = fixes.size();
    TrackPoint point{};
    PreciseFix precise;
    while (read_track_point(log, point, precise) == 0) {
      if ((fixes.size() & 1023) == 0 && stop_requested(stop)) return -3;
      GeotagFix& fix = fixes.emplace_back();
      fix.time = static_cast<double>(days_since_epoch(point.year, point.month, point.day) * 86400 +
                                     (point.hour * 60 + point.minute) * 60 + point.second) +
                 precise.second_fraction;
      fix.latitude = precise.latitude;
      fix.longitude = precise.longitude;
      fix.altitude = precise.altitude;
      fix.speed_kmh = precise.speed_kmh;
      fix.course = precise.course;
    }
    const auto begin = fixes.begin() + static_cast<std::ptrdiff_t>(log_begin);
    std::stable_sort(begin, fixes.end(),
                     [](const GeotagFix& a, const GeotagFix& b) { return a.time < b.time; });
    if (begin != fixes.end()) begin->first = true;
  }
  std::stable_sort(fixes.begin(), fixes.end(),
                   [](const GeotagFix& a, const GeotagFix& b) { return a.time < b.time; });
  // One fix per time: the one read last stands, as when a later log repeats a time.
  auto last = std::unique(fixes.rbegin(), fixes.rend(),
                          [](const GeotagFix& a, const GeotagFix& b) { return a.time == b.time; });
  fixes.erase(fixes.begin(), last.base());
  return 0;
}

namespace {

GeotagPlace at_fix(PlaceKind kind, double seconds, const GeotagFix& fix) {
  GeotagPlace place;
  place.kind = kind;
  place.seconds = seconds;
  place.latitude = fix.latitude;
  place.longitude = fix.longitude;
  place.altitude = fix.altitude;
  place.speed_kmh = fix.speed_kmh;
  place.course = fix.course;
  return place;
}

GeotagPlace outside(PlaceKind kind, double seconds) {
  GeotagPlace place;
  place.kind = kind;
  place.seconds = seconds;
  return place;
}

double mix(double v0, double v1, double f) { return v1 * f + v0 * (1 - f); }

// Longitudes are mixed the short way round when the two lie across the 180th meridian.
double mix_longitude(double v0, double v1, double f) {
  if (std::fabs(v1 - v0) <= 180) return mix(v0, v1, f);
  (v0 < v1 ? v0 : v1) += 360;
  const double mixed = mix(v0, v1, f);
  return mixed >= 180 ? mixed - 360 : mixed;
}

}  // namespace

GeotagPlace place_on_fixes(const std::vector<GeotagFix>& fixes, double time,
                           const GeotagLimits& limits) {
  if (fixes.empty()) return outside(PlaceKind::kBeforeStart, 0);
  const GeotagFix& front = fixes.front();
  const GeotagFix& back = fixes.back();
  if (time < front.time) {
    const double before = front.time - time;
    if (before > limits.max_extrapolation) return outside(PlaceKind::kBeforeStart, before);
    return at_fix(PlaceKind::kNearest, before, front);
  }
  if (time > back.time) {
    const double after = time - back.time;
    if (after > limits.max_extrapolation) return outside(PlaceKind::kAfterEnd, after);
    return at_fix(PlaceKind::kNearest, after, back);
  }
  // The last fix at or before the time, and the one after it.
  const auto after = std::upper_bound(fixes.begin(), fixes.end(), time,
                                      [](double t, const GeotagFix& fix) { return t < fix.time; });
  if (after == fixes.end()) return at_fix(PlaceKind::kNearest, 0, back);
  const GeotagFix& f0 = *(after - 1);
  const GeotagFix& f1 = *after;
  if (f0.time == time) return at_fix(PlaceKind::kNearest, 0, f0);
  const double gap = f1.time - f0.time;
  const double limit = f1.first && limits.max_gap != 0 ? limits.max_extrapolation : limits.max_gap;
  const bool f0_nearer = time - f0.time < f1.time - time;
  const GeotagFix& nearest = f0_nearer ? f0 : f1;
  const double to_nearest = std::fabs(time - nearest.time);
  if (gap > limit) {
    if (to_nearest > limits.max_extrapolation) return outside(PlaceKind::kInGap, to_nearest);
    return at_fix(PlaceKind::kNearest, to_nearest, nearest);
  }
  const double f = (time - f0.time) / gap;
  GeotagPlace place = at_fix(PlaceKind::kInterpolated, gap, nearest);
  place.latitude = mix(f0.latitude, f1.latitude, f);
  place.longitude = mix_longitude(f0.longitude, f1.longitude, f);
  place.altitude.reset();
  if (f0.altitude && f1.altitude) place.altitude = mix(*f0.altitude, *f1.altitude, f);
  return place;
}

}  // namespace tolvane
