#include "core/log_set.h"

#include <algorithm>
#include <numeric>
#include <optional>

#include "core/log_file.h"
#include "core/run_contracts.h"
#include "core/run_messages.h"
#include "core/time_helpers.h"

namespace tolvane {
namespace {

// The first point of a log; empty when the log cannot be opened or yields no point, or when
// `stop` was set.
std::optional<TrackPoint> read_first_point(const std::filesystem::path& path,
                                           const std::atomic<bool>* stop = nullptr) {
  LogFile log = open_log(path, stop);
  if (!log) return std::nullopt;
  TrackPoint first;
  if (read_track_point(log, first) != 0) return std::nullopt;
  return first;
}

void take_in_box(LogExtent& into, const LogExtent& other) {
  if (other.min_latitude < into.min_latitude) into.min_latitude = other.min_latitude;
  if (other.max_latitude > into.max_latitude) into.max_latitude = other.max_latitude;
  if (other.min_longitude < into.min_longitude) into.min_longitude = other.min_longitude;
  if (other.max_longitude > into.max_longitude) into.max_longitude = other.max_longitude;
}

}  // namespace

std::int8_t read_log_extent(const std::filesystem::path& path, LogExtent& extent,
                            const std::atomic<bool>* stop, LogSpools* spools) {
  LogFile log = open_log(path, stop);
  if (stop_requested(stop)) return -3;  // an open that blocked (a pipe) was broken off
  if (!log) return -2;
  if (read_track_point(log, extent.first) != 0) return stop_requested(stop) ? -3 : -1;
  // Every fix of a GPX log into its spool; a spool that fails is dropped and the log read again.
  std::unique_ptr<LogSpool> spool;
  if (spools && last_gpx_fix(log)) spool = LogSpool::create();
  auto keep = [&spool, &log] {
    if (spool && !spool->append(*last_gpx_fix(log))) spool.reset();
  };
  keep();
  copy_track_point(extent.last, extent.first);
  extent.min_latitude = extent.max_latitude = extent.first.latitude;
  extent.min_longitude = extent.max_longitude = extent.first.longitude;
  while (read_track_point(log, extent.last) == 0) {
    if (stop_requested(stop)) return -3;
    keep();
    const TrackPoint& p = extent.last;
    if (p.latitude < extent.min_latitude) extent.min_latitude = p.latitude;
    if (p.latitude > extent.max_latitude) extent.max_latitude = p.latitude;
    if (p.longitude < extent.min_longitude) extent.min_longitude = p.longitude;
    if (p.longitude > extent.max_longitude) extent.max_longitude = p.longitude;
  }
  if (stop_requested(stop)) return -3;
  if (spool && spool->finish()) spools->add(path, std::move(spool));
  return 0;
}

void sort_logs_by_start(std::vector<std::filesystem::path>& log_paths,
                        const std::atomic<bool>* stop) {
  std::vector<std::optional<TrackPoint>> firsts;
  firsts.reserve(log_paths.size());
  for (const auto& path : log_paths) {
    if (stop_requested(stop)) return;
    firsts.push_back(read_first_point(path, stop));
  }

  std::vector<std::size_t> order(log_paths.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  // Unreadable logs sort before every readable one; a stable sort keeps the list order among
  // them and among logs that start at the same second.
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    const auto& first_a = firsts[a];
    const auto& first_b = firsts[b];
    if (!first_b) return false;
    if (!first_a) return true;
    return compare_timestamps(*first_a, *first_b) < 0;
  });

  std::vector<std::filesystem::path> sorted;
  sorted.reserve(log_paths.size());
  for (std::size_t index : order) sorted.push_back(std::move(log_paths[index]));
  log_paths = std::move(sorted);
}

std::uint8_t prepare_log_set(const std::vector<std::filesystem::path>& sorted_log_paths,
                             bool concate, ProgressView& view, LogExtent& set_extent,
                             const std::atomic<bool>* stop, LogSpools* spools) {
  // Shows the message of a failed extent read; true when the log was read.
  auto read_checked = [&view, stop, spools](const std::filesystem::path& path, LogExtent& extent) {
    switch (read_log_extent(path, extent, stop, spools)) {
      case 0:
        return true;
      case -3:
        return false;
      case -2:
        view.show_error(messages::kCannotOpenInput);
        return false;
      default:
        view.show_error(messages::kUnsupportedInput);
        return false;
    }
  };

  if (sorted_log_paths.empty()) {
    view.show_error(messages::kUnsupportedInput);
    return kRunFailed;
  }
  if (!read_checked(sorted_log_paths.front(), set_extent)) return kRunFailed;
  for (std::size_t i = 1; i < sorted_log_paths.size(); ++i) {
    LogExtent extent;
    if (!read_checked(sorted_log_paths[i], extent)) return kRunFailed;
    if (concate && compare_timestamps(extent.first, set_extent.last) < 0) {
      view.show_error(messages::kLogsOverlap);
      return kRunFailed;
    }
    copy_track_point(set_extent.last, extent.last);
    take_in_box(set_extent, extent);
  }
  return kRunSucceeded;
}

}  // namespace tolvane
