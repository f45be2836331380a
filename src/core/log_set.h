// Pre-pass over a set of logs: each log's extent, the order by start time, the set's checks.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/track_point.h"

namespace tolvane {

class LogSpools;
class ProgressView;

struct LogExtent {
  TrackPoint first;
  TrackPoint last;
  float min_latitude = 0;
  float max_latitude = 0;
  float min_longitude = 0;
  float max_longitude = 0;
};

// 0 when read, -2 when the file cannot be opened, -1 when it yields no point, -3 when `stop`
// was set meanwhile (see stop_requested). With `spools`, a GPX log read to its end leaves its
// fixes there for the later passes (a log whose spool could not be written has none).
std::int8_t read_log_extent(const std::filesystem::path& path, LogExtent& extent,
                            const std::atomic<bool>* stop = nullptr, LogSpools* spools = nullptr);

// Stable sort by each log's first point, read once per log; unreadable logs first, in list order.
// Once `stop` is set the order is left as it is.
void sort_logs_by_start(std::vector<std::filesystem::path>& log_paths,
                        const std::atomic<bool>* stop = nullptr);

// Validates the sorted set; 0 with `set_extent` filled, or 255 after one show_error (or, with
// no message, when `stop` was set). With `spools`, the GPX logs are spooled as they are read.
std::uint8_t prepare_log_set(const std::vector<std::filesystem::path>& sorted_log_paths,
                             bool concate, ProgressView& view, LogExtent& set_extent,
                             const std::atomic<bool>* stop = nullptr, LogSpools* spools = nullptr);

}  // namespace tolvane
