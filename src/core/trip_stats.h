// The trip's numbers: distance, elapsed and moving time, average moving and maximum speed,
// ascent and descent, lowest and highest altitude, per local day and for the whole track. The
// one place that computes them, for the map page and for tolvane-convert --stats.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/track_point.h"

namespace tolvane {

// The numbers of one local day, or of the whole track.
struct TripNumbers {
  int year = 0, month = 0, day = 0;  // local date; 0 for the whole track
  std::int64_t start_time = 0;       // local seconds since 1970-01-01 of the first point
  std::int64_t end_time = 0;         // ... and of the last point (in the run's order)
  std::int64_t point_count = 0;
  double distance_km = 0;
  std::int64_t moving_s = 0;
  double moving_km = 0;  // length of the moving steps
  double max_kmh = 0;    // largest median of three consecutive speeds; 0 without three points
  double ascent_m = 0;
  double descent_m = 0;
  bool has_altitude = false;  // min_alt_m and max_alt_m hold values
  double min_alt_m = 0;
  double max_alt_m = 0;

  std::int64_t elapsed_s() const { return end_time - start_time; }
  // Length of the moving steps over the moving time; 0 without moving time.
  double average_moving_kmh() const;
};

// Walks every point of every log in the run's order and keeps only a handful of records: the
// numbers of each day, the last two points of the log, and the altitude references.
//
// A step joins two consecutive points of one log and belongs to the local day of its end point;
// its length is track_distance_km. A step is moving when its end point's speed is at least
// 1 km/h and its time gap is between 0 and 60 s. The maximum speed is the largest median of
// three consecutive speeds of one log, counted on the day of the middle point. Ascent and
// descent follow the altitudes through a 5 m dead band, each day on its own points and the
// total on all points.
class TripStats {
 public:
  explicit TripStats(float gmt_offset_hours) : gmt_offset_hours_(gmt_offset_hours) {}

  // At the start of every log: no step joins its first point to the log before.
  void begin_log();
  // The next point as read (UTC); `altitude_known` says whether point.altitude is one.
  void add(const TrackPoint& point, bool altitude_known);

  // The days in date order; each has at least one point.
  const std::vector<TripNumbers>& days() const { return days_; }
  const TripNumbers& total() const { return total_; }

 private:
  // A dead-band walker over altitudes.
  struct Climb {
    bool started = false;
    double reference = 0;
    void add(double altitude, TripNumbers& numbers);
  };
  struct Previous {
    std::int64_t time = 0;
    float latitude = 0, longitude = 0;
    double speed = 0;
    std::size_t day = 0;  // index into days_
  };

  std::size_t day_of(const TrackPoint& local);
  static void count_point(TripNumbers& numbers, std::int64_t time, bool altitude_known,
                          double altitude);

  float gmt_offset_hours_;
  std::vector<TripNumbers> days_;
  std::vector<Climb> day_climbs_;
  TripNumbers total_;
  Climb total_climb_;
  int log_points_ = 0;  // points of the current log so far, up to 2
  Previous previous_;   // the log's last point
  Previous before_;     // the one before it
};

// Adds the logs at `log_paths` (read in the given order) to `stats`. False when `stop` was set or
// a log cannot be opened; then `unreadable`, when given, is that log's index (else the count).
bool compute_trip_stats(const std::vector<std::filesystem::path>& log_paths, TripStats& stats,
                        const std::atomic<bool>* stop = nullptr, std::size_t* unreadable = nullptr);

// The --stats table: a header line and one line per day, then the total whose date is "total";
// fields separated by a tab, or padded to line up when `aligned`. Lines end in "\n".
std::string trip_stats_table(const TripStats& stats, bool aligned);

// Whole-minute "h:mm" of a number of seconds, rounded to the nearest minute.
std::string hours_minutes(std::int64_t seconds);

}  // namespace tolvane
