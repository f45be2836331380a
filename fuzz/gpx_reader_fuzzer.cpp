// Feeds arbitrary bytes to the GPX reader as a .gpx log, through the same seam the stages use,
// and reads every point out of it. Besides crashes and sanitizer reports, it stops on a point
// that is no UTC time of day, no calendar date, no position or no finite number.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/log_file.h"
#include "core/time_helpers.h"

namespace {
namespace fs = std::filesystem;

// A file of this process's own, removed when the fuzzer exits.
struct WorkFile {
  WorkFile() {
    fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    path = base / ("tolvane-gpx-fuzz-" + std::to_string(::getpid()) + ".gpx");
  }
  ~WorkFile() {
    std::error_code ignored;
    fs::remove(path, ignored);
  }
  fs::path path;
};

bool is_utc_point(const tolvane::TrackPoint& p) {
  return p.hour >= 0 && p.hour <= 23 && p.minute >= 0 && p.minute <= 59 && p.second >= 0 &&
         p.second <= 59 && p.month >= 1 && p.month <= 12 && p.day >= 1 &&
         p.day <= tolvane::days_in_month(p.year, p.month) && p.year >= 0 && p.year <= 9999;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static WorkFile work;
  {
    std::FILE* file = std::fopen(work.path.c_str(), "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  tolvane::LogFile log = tolvane::open_log(work.path);
  if (!log) __builtin_trap();
  tolvane::TrackPoint point;
  while (tolvane::read_track_point(log, point) == 0) {
    if (!is_utc_point(point) || !(std::fabs(point.latitude) <= 90.0f) ||
        !(std::fabs(point.longitude) <= 180.0f) || !std::isfinite(point.speed_kmh) ||
        !std::isfinite(point.course) || !std::isfinite(point.altitude)) {
      __builtin_trap();
    }
    tolvane::TrackPoint local = point;
    tolvane::apply_time_offset(local, 9.0f);
  }
  if (tolvane::read_track_point(log, point) != -1) __builtin_trap();
  return 0;
}
