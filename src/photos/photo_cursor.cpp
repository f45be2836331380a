#include "photos/photo_cursor.h"

#include "core/log_file.h"
#include "core/time_helpers.h"

namespace tolvane {
namespace {

constexpr std::uint8_t kFailed = 255;

int seconds_of_day(const TrackPoint& p) { return (p.hour * 60 + p.minute) * 60 + p.second; }

}  // namespace

PhotoCursor::PhotoCursor(const std::vector<std::filesystem::path>& sorted_logs, float gmt_offset,
                         const std::atomic<bool>* stop, const LogSpools* spools)
    : logs_(sorted_logs), gmt_offset_(gmt_offset), stop_(stop), spools_(spools) {}

bool PhotoCursor::open_log(std::size_t index) {
  file_ = tolvane::open_log(logs_[index], stop_, spools_);
  return static_cast<bool>(file_);
}

std::uint8_t PhotoCursor::start() {
  finish();
  if (logs_.empty() || !open_log(0)) return kFailed;
  TrackPoint point{};
  while (read_track_point(file_, point) != 0) {
    if (log_index_ + 1 >= logs_.size()) break;  // every log was checked to hold a point
    ++log_index_;
    if (!open_log(log_index_)) return kFailed;
  }
  apply_time_offset(point, gmt_offset_);
  next_ = point;
  previous_ = point;
  return 0;
}

std::uint8_t PhotoCursor::read_next() {
  while (file_) {
    TrackPoint point = next_;
    if (read_track_point(file_, point) == 0) {
      apply_time_offset(point, gmt_offset_);
      next_ = point;
      ++advance_count_;
      return 1;
    }
    file_ = LogFile();
    if (++log_index_ >= logs_.size()) return 0;
    if (!open_log(log_index_)) return kFailed;
  }
  return 0;
}

std::uint8_t PhotoCursor::place(const TrackPoint& photo_time, PhotoPlacement& placement) {
  auto at_previous = [&](int index) {
    placement.latitude = previous_.latitude;
    placement.longitude = previous_.longitude;
    placement.point_index = index;
  };
  if (exhausted_) {
    at_previous(advance_count_);
    return 0;
  }
  if (compare_timestamps(previous_, photo_time) >= 0) {
    at_previous(0);
    return 0;
  }
  while (compare_timestamps(photo_time, next_) > 0) {
    previous_ = next_;
    std::uint8_t read = read_next();
    if (read == kFailed) return kFailed;
    if (read == 0) {
      exhausted_ = true;
      next_ = previous_;
      at_previous(advance_count_);
      return 0;
    }
  }
  const double tp = seconds_of_day(previous_);
  double tn = seconds_of_day(next_);
  double tx = seconds_of_day(photo_time);
  if (tn + 43200 < tp) tn += 86400;
  if (tx + 43200 < tp) tx += 86400;
  if (tn == tp) {
    // Points a whole number of days apart: the photo takes the later point.
    placement.latitude = next_.latitude;
    placement.longitude = next_.longitude;
  } else {
    const double r = (tx - tp) / (tn - tp);
    placement.latitude = static_cast<float>((1 - r) * static_cast<double>(previous_.latitude) +
                                            r * static_cast<double>(next_.latitude));
    placement.longitude = static_cast<float>((1 - r) * static_cast<double>(previous_.longitude) +
                                             r * static_cast<double>(next_.longitude));
  }
  placement.point_index = advance_count_;
  return 0;
}

void PhotoCursor::finish() {
  file_ = LogFile();
  exhausted_ = false;
  advance_count_ = 0;
  log_index_ = 0;
}

}  // namespace tolvane
