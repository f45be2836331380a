#include "core/trip_stats.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "core/log_file.h"
#include "core/run_contracts.h"
#include "core/text_format.h"
#include "core/time_helpers.h"
#include "core/track_distance.h"

namespace tolvane {
namespace {

constexpr double kMovingKmh = 1.0;
constexpr std::int64_t kLongestMovingGap = 60;
constexpr double kDeadBandMetres = 5.0;
constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t local_seconds(const TrackPoint& local) {
  return days_since_epoch(local.year, local.month, local.day) * kSecondsPerDay +
         second_of_day(local);
}

double finite_or_zero(float value) {
  return std::isfinite(value) ? static_cast<double>(value) : 0.0;
}

double median_of_three(double a, double b, double c) {
  return std::max(std::min(a, b), std::min(std::max(a, b), c));
}

std::string clock_text(std::int64_t time) {
  const std::int64_t second = ((time % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
  return format_text("%02d:%02d:%02d", static_cast<int>(second / 3600),
                     static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
}

}  // namespace

double TripNumbers::average_moving_kmh() const {
  return moving_s > 0 ? moving_km * 3600.0 / static_cast<double>(moving_s) : 0.0;
}

void TripStats::Climb::add(double altitude, TripNumbers& numbers) {
  if (!started) {
    started = true;
    reference = altitude;
  } else if (altitude >= reference + kDeadBandMetres) {
    numbers.ascent_m += altitude - reference;
    reference = altitude;
  } else if (altitude <= reference - kDeadBandMetres) {
    numbers.descent_m += reference - altitude;
    reference = altitude;
  }
}

void TripStats::begin_log() { log_points_ = 0; }

std::size_t TripStats::day_of(const TrackPoint& local) {
  auto before = [](const TripNumbers& d, const TrackPoint& p) {
    return std::tie(d.year, d.month, d.day) < std::tie(p.year, p.month, p.day);
  };
  const auto found = std::lower_bound(days_.begin(), days_.end(), local, before);
  const auto index = static_cast<std::size_t>(found - days_.begin());
  if (found != days_.end() && found->year == local.year && found->month == local.month &&
      found->day == local.day) {
    return index;
  }
  TripNumbers day;
  day.year = local.year;
  day.month = local.month;
  day.day = local.day;
  days_.insert(found, day);
  day_climbs_.insert(day_climbs_.begin() + static_cast<std::ptrdiff_t>(index), Climb{});
  // A day inserted before the remembered points' days moves them along.
  if (log_points_ > 0 && previous_.day >= index) ++previous_.day;
  if (log_points_ > 1 && before_.day >= index) ++before_.day;
  return index;
}

void TripStats::count_point(TripNumbers& numbers, std::int64_t time, bool altitude_known,
                            double altitude) {
  if (numbers.point_count == 0) numbers.start_time = time;
  numbers.end_time = time;
  ++numbers.point_count;
  if (!altitude_known) return;
  if (!numbers.has_altitude) {
    numbers.has_altitude = true;
    numbers.min_alt_m = numbers.max_alt_m = altitude;
  } else {
    numbers.min_alt_m = std::min(numbers.min_alt_m, altitude);
    numbers.max_alt_m = std::max(numbers.max_alt_m, altitude);
  }
}

void TripStats::add(const TrackPoint& point, bool altitude_known) {
  TrackPoint local = point;
  apply_time_offset(local, gmt_offset_hours_);
  const std::int64_t time = local_seconds(local);
  const double altitude = static_cast<double>(point.altitude);
  altitude_known = altitude_known && std::isfinite(altitude);
  const std::size_t d = day_of(local);
  TripNumbers& day = days_[d];

  count_point(day, time, altitude_known, altitude);
  count_point(total_, time, altitude_known, altitude);
  if (altitude_known) {
    day_climbs_[d].add(altitude, day);
    total_climb_.add(altitude, total_);
  }

  Previous current{time, point.latitude, point.longitude, finite_or_zero(point.speed_kmh), d};
  if (log_points_ > 0) {
    const double length =
        track_distance_km(previous_.latitude, previous_.longitude, point.latitude, point.longitude);
    const std::int64_t gap = time - previous_.time;
    const bool moving = current.speed >= kMovingKmh && gap >= 0 && gap <= kLongestMovingGap;
    for (TripNumbers* numbers : {&day, &total_}) {
      numbers->distance_km += length;
      if (moving) {
        numbers->moving_s += gap;
        numbers->moving_km += length;
      }
    }
  }
  if (log_points_ > 1) {
    const double median = median_of_three(before_.speed, previous_.speed, current.speed);
    TripNumbers& middle_day = days_[previous_.day];
    middle_day.max_kmh = std::max(middle_day.max_kmh, median);
    total_.max_kmh = std::max(total_.max_kmh, median);
  }
  before_ = previous_;
  previous_ = current;
  log_points_ = std::min(log_points_ + 1, 2);
}

bool compute_trip_stats(const std::vector<std::filesystem::path>& log_paths, TripStats& stats,
                        const std::atomic<bool>* stop, std::size_t* unreadable) {
  if (unreadable) *unreadable = log_paths.size();
  for (std::size_t i = 0; i < log_paths.size(); ++i) {
    LogFile log = open_log(log_paths[i]);
    if (!log) {
      if (unreadable) *unreadable = i;
      return false;
    }
    stats.begin_log();
    TrackPoint point;
    while (read_track_point(log, point) == 0) {
      if (stop_requested(stop)) return false;
      stats.add(point, has_altitude(log));
    }
  }
  return true;
}

std::string hours_minutes(std::int64_t seconds) {
  const std::int64_t minutes = (std::max<std::int64_t>(seconds, 0) + 30) / 60;
  return format_text("%d:%02d", static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
}

std::string trip_stats_table(const TripStats& stats, bool aligned) {
  std::vector<std::vector<std::string>> rows;
  rows.push_back({"date", "start", "end", "distance_km", "elapsed_s", "moving_s", "avg_moving_kmh",
                  "max_kmh", "ascent_m", "descent_m", "min_alt_m", "max_alt_m"});
  auto add_row = [&](const TripNumbers& n, std::string date) {
    auto number = [](const char* format, double value) { return format_text(format, value); };
    auto whole = [](std::int64_t value) { return std::to_string(value); };
    rows.push_back({std::move(date), clock_text(n.start_time), clock_text(n.end_time),
                    number("%.3f", n.distance_km), whole(n.elapsed_s()), whole(n.moving_s),
                    number("%.2f", n.average_moving_kmh()), number("%.2f", n.max_kmh),
                    n.has_altitude ? number("%.1f", n.ascent_m) : std::string(),
                    n.has_altitude ? number("%.1f", n.descent_m) : std::string(),
                    n.has_altitude ? number("%.1f", n.min_alt_m) : std::string(),
                    n.has_altitude ? number("%.1f", n.max_alt_m) : std::string()});
  };
  for (const TripNumbers& day : stats.days()) {
    add_row(day, format_text("%04d-%02d-%02d", day.year, day.month, day.day));
  }
  if (stats.total().point_count > 0) add_row(stats.total(), "total");

  std::vector<std::size_t> widths(rows.front().size(), 0);
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  std::string out;
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (!aligned) {
        if (i > 0) line += '\t';
        line += row[i];
        continue;
      }
      // The date left, the numbers right, two spaces apart.
      if (i > 0) line += "  ";
      const std::string padding(widths[i] - row[i].size(), ' ');
      line += i == 0 ? row[i] + padding : padding + row[i];
    }
    if (aligned) line.erase(line.find_last_not_of(' ') + 1);
    out += line + "\n";
  }
  return out;
}

}  // namespace tolvane
