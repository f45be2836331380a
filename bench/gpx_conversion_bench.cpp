// Speed and memory of the KML run on long GPX tracks, next to GPSBabel and a plain read.
//
// Writes a one-day and a seven-day GPX 1.1 track at 1 Hz (every trkpt with ele and time, no
// speed or course, so both are derived), then for each track times, as medians of several runs:
//   - a plain read: fread of the whole file in 64 KB chunks, nothing else;
//   - tolvane-convert --kml in a child process with the default settings (peak resident set
//     from wait4);
//   - GPSBabel's conversion of the same track (TZ=UTC gpsbabel -i gpx -f TRACK -o kml -F OUT).
// Targets: at least 10 x faster than GPSBabel; peak memory under 16 MB whatever the track's
// length.
//
// Usage: gpx_conversion_bench [--runs N] [--days 1,7] [--work DIR] [--converter PATH]
//                             [--gpsbabel PATH | --no-gpsbabel]
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "child_runs.h"
#include "day_log.h"

namespace {

namespace fs = std::filesystem;
using namespace tolvane::bench;

Measure plain_read(const fs::path& track) {
  const auto start = Clock::now();
  const double cpu_start = process_cpu_seconds();
  std::FILE* file = std::fopen(track.c_str(), "rb");
  if (!file) return {};
  static char buffer[64 * 1024];
  std::size_t total = 0;
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) total += got;
  std::fclose(file);
  Measure measure;
  measure.seconds = tolvane::bench::seconds_since(start);
  measure.cpu_seconds = process_cpu_seconds() - cpu_start;
  if (total == 0) std::fprintf(stderr, "empty track %s\n", track.c_str());
  return measure;
}

// The track of `days` days, written once and kept in the work folder: a drive that wanders at up
// to 50 km/h around Tokyo, climbing and falling a little.
fs::path ensure_track(const fs::path& work, int days) {
  const fs::path path = work / ("track" + std::to_string(days) + ".gpx");
  const fs::path done = work / ("track" + std::to_string(days) + ".done");
  if (fs::exists(done) && file_size_or_zero(path) > 0) return path;
  std::fprintf(stderr, "writing %s ...\n", path.c_str());
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return {};
  static char buffer[1 << 20];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  std::fputs(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<gpx version=\"1.1\" creator=\"gpx_conversion_bench\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
      "  <trk>\n    <name>bench</name>\n    <trkseg>\n",
      out);
  std::mt19937 random(86400u * static_cast<unsigned>(days));
  std::uniform_real_distribution<double> turn(-0.2, 0.2);
  double latitude = 35.681236, longitude = 139.767125, heading = 0.5, elevation = 40.0;
  const long seconds = 86400L * days;
  const time_t start = 1716000000;  // 2024-05-18 02:40:00 UTC
  for (long t = 0; t < seconds; ++t) {
    heading += turn(random);
    const double step_km = 50.0 / 3600.0 * (0.5 + 0.5 * std::sin(static_cast<double>(t) / 900));
    latitude += step_km / 111.0 * std::cos(heading);
    longitude += step_km / 91.0 * std::sin(heading);
    if (latitude > 36.0 || latitude < 35.3) heading += 3.14159;
    elevation += turn(random);
    const time_t now = start + t;
    tm utc{};
    ::gmtime_r(&now, &utc);
    std::fprintf(out,
                 "      <trkpt lat=\"%.7f\" lon=\"%.7f\"><ele>%.1f</ele>"
                 "<time>%04d-%02d-%02dT%02d:%02d:%02dZ</time></trkpt>\n",
                 latitude, longitude, elevation, utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                 utc.tm_hour, utc.tm_min, utc.tm_sec);
  }
  std::fputs("    </trkseg>\n  </trk>\n</gpx>\n", out);
  if (std::fclose(out) != 0) return {};
  std::fclose(std::fopen(done.c_str(), "w"));
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  tolvane::bench::ConversionBenchOptions options;
  if (const int status = tolvane::bench::prepare(argc, argv, "gpx_conversion_bench", options)) {
    return status;
  }
  bool all_ok = true;
  for (int days : options.days) {
    const fs::path track = ensure_track(options.work, days);
    if (track.empty()) {
      std::fprintf(stderr, "cannot write the %d-day track\n", days);
      return 1;
    }
    const double mb = static_cast<double>(file_size_or_zero(track)) / 1e6;
    plain_read(track);  // into the page cache
    std::printf("%d-day track: %.1f MB, %ld points (%s)\n", days, mb, 86400L * days, track.c_str());

    std::vector<Measure> plain_runs;
    for (int r = 0; r < options.runs; ++r) plain_runs.push_back(plain_read(track));
    print_row("plain read", summarize(plain_runs), mb, false);

    const Summary babel = time_gpsbabel(options, "gpx", track, days, mb);

    const fs::path out = options.work / "gpx.kml";
    std::vector<Measure> runs;
    for (int r = 0; r < options.runs; ++r) {
      Measure m;
      if (!run_child({options.converter.string(), "-q", "--settings", options.defaults_ini.string(),
                      "--kml", "-o", out.string(), track.string()},
                     {}, m)) {
        std::fprintf(stderr, "tolvane-convert failed\n");
        all_ok = false;
        break;
      }
      runs.push_back(m);
    }
    if (runs.empty()) continue;
    const Summary run = summarize(runs);
    print_row("tolvane KML", run, mb);
    std::printf("    output %.1f MB", static_cast<double>(file_size_or_zero(out)) / 1e6);
    if (babel.seconds > 0) {
      std::printf("; gpsbabel / tolvane cpu %.1f (wall %.1f), target >= 10",
                  babel.cpu_seconds / run.cpu_seconds, babel.seconds / run.seconds);
    }
    std::printf("; peak memory %s 16 MB\n", run.peak_mb < 16 ? "under" : "OVER");
    fs::remove(out);
  }
  return all_ok ? 0 : 1;
}
