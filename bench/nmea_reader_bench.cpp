// Times the NMEA reader over a generated one-day log (86,400 fixes at 1 Hz, about 36 MB)
// against plain fgets passes over the same file. A conversion reads each log three times, so
// both are timed as three passes. Usage: nmea_reader_bench [RUNS] (default 7); prints medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../tools/nmea_log_generator.h"
#include "bench_support.h"
#include "core/log_file.h"

namespace {

using tolvane::bench::Clock;
using tolvane::bench::median;
using tolvane::bench::seconds_since;

// Three passes of fgets over the file, nothing else; returns the lines seen.
long plain_passes(const std::filesystem::path& path) {
  long lines = 0;
  for (int pass = 0; pass < 3; ++pass) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) std::exit(1);
    char line[8191];
    while (std::fgets(line, sizeof line, file)) ++lines;
    std::fclose(file);
  }
  return lines;
}

// Three passes of the reader; returns the points read.
long reader_passes(const std::filesystem::path& path) {
  long points = 0;
  for (int pass = 0; pass < 3; ++pass) {
    tolvane::LogFile log = tolvane::open_log(path);
    if (!log) std::exit(1);
    tolvane::TrackPoint point;
    while (tolvane::read_track_point(log, point) == 0) ++points;
  }
  return points;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "tolvane-nmea-reader-bench.log";
  {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 1;
    tolvane::tools::NmeaLogPlan plan;
    plan.seconds = 86400;
    plan.no_fix = {{20000, 20300}, {50000, 50030}};
    tolvane::tools::write_nmea_log(out, plan);
    std::fclose(out);
  }
  const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;

  std::vector<double> plain, reader;
  long lines = 0, points = 0;
  for (int run = 0; run < runs; ++run) {
    Clock::time_point start = Clock::now();
    lines = plain_passes(path);
    plain.push_back(seconds_since(start));
    start = Clock::now();
    points = reader_passes(path);
    reader.push_back(seconds_since(start));
  }
  std::filesystem::remove(path);

  const double plain_s = median(plain), reader_s = median(reader);
  std::printf("log: %.1f MB, %ld lines, %ld points per pass\n", megabytes, lines / 3, points / 3);
  std::printf("three fgets passes:       %.3f s  %.0f MB/s\n", plain_s, 3 * megabytes / plain_s);
  std::printf("three read_track_point:   %.3f s  %.0f MB/s\n", reader_s, 3 * megabytes / reader_s);
  std::printf("reader / fgets:           %.2f (median of %d runs)\n", reader_s / plain_s, runs);
  return 0;
}
