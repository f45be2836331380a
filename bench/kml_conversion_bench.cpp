// Speed and memory of the conversion runs on long logs, next to GPSBabel and a plain pass.
//
// Writes a one-day and a seven-day log at 1 Hz ($GPGGA, $GPGSA, three $GPGSV, $GPRMC), then for
// each log times, as medians of several runs:
//   - a plain pass: fgets and the splitting of each line into its comma fields, nothing else;
//   - every conversion of the table below, run as tolvane-convert in a child process with the
//     default settings, whose peak resident set is read from wait4;
//   - GPSBabel's conversion of the same log (TZ=UTC gpsbabel -i nmea -f LOG -o kml -F OUT).
// A conversion reads each log about three times, so its target is within 2 x three plain passes;
// against GPSBabel the target is at least 10 x faster; peak memory stays under 16 MB. The KMZ
// form of the KML run is held against the KML run plus a `gzip -1` of its output (at most
// 1.5 x) and against the KML run's peak memory (at most 2 MB more).
//
// Usage: kml_conversion_bench [--runs N] [--days 1,7] [--work DIR] [--converter PATH]
//                             [--gpsbabel PATH | --no-gpsbabel]
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "child_runs.h"
#include "day_log.h"

namespace {

namespace fs = std::filesystem;
using namespace tolvane::bench;

// The conversions measured; another run of the converter is one more row.
struct Conversion {
  const char* name;
  const char* option;     // tolvane-convert's option that selects the run
  const char* extension;  // of the output file
};
const Conversion kConversions[] = {
    {"KML", "--kml", ".kml"},
    // The KML document deflated into an archive with its icons; next to the KML run, so that
    // the map page's large outputs are not still being written back to the disk in its fsync.
    {"KMZ", "--kmz", ".kmz"},
    // The map page with the default settings: every point pushed with its read-out and minute.
    {"HTML", "--html", ".html"},
};

// fgets with the reader's line buffer and the split of every line into comma fields.
Measure plain_pass(const fs::path& log) {
  const auto start = Clock::now();
  const double cpu_start = process_cpu_seconds();
  std::FILE* file = std::fopen(log.c_str(), "r");
  if (!file) return {};
  static char buffer[8191];
  std::vector<const char*> fields;
  std::size_t checksum = 0;
  while (std::fgets(buffer, sizeof buffer, file)) {
    fields.clear();
    const char* p = buffer;
    fields.push_back(p);
    while ((p = std::strchr(p, ',')) != nullptr) fields.push_back(++p);
    checksum += fields.size();
  }
  std::fclose(file);
  Measure measure;
  measure.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  measure.cpu_seconds = process_cpu_seconds() - cpu_start;
  if (checksum == 0) std::fprintf(stderr, "empty log %s\n", log.c_str());
  return measure;
}

void warm_cache(const fs::path& log) { plain_pass(log); }

}  // namespace

int main(int argc, char** argv) {
  tolvane::bench::ConversionBenchOptions options;
  if (const int status = tolvane::bench::prepare(argc, argv, "kml_conversion_bench", options)) {
    return status;
  }
  bool all_ok = true;
  for (int days : options.days) {
    const fs::path log = ensure_log(options.work, days);
    if (log.empty()) {
      std::fprintf(stderr, "cannot write the %d-day log\n", days);
      return 1;
    }
    const double mb = static_cast<double>(file_size_or_zero(log)) / 1e6;
    warm_cache(log);
    std::printf("%d-day log: %.1f MB, %ld fixes (%s)\n", days, mb, 86400L * days, log.c_str());

    std::vector<Measure> plain_runs;
    for (int r = 0; r < options.runs; ++r) plain_runs.push_back(plain_pass(log));
    const Summary plain = summarize(plain_runs);
    print_row("plain pass", plain, mb, false);

    const Summary babel = time_gpsbabel(options, "nmea", log, days, mb);

    Summary kml;   // the KML run
    Summary gzip;  // gzip -1 of its output
    for (const Conversion& conversion : kConversions) {
      const fs::path out = options.work / (std::string("out") + conversion.extension);
      std::vector<Measure> runs;
      for (int r = 0; r < options.runs; ++r) {
        Measure m;
        if (!run_child(
                {options.converter.string(), "-q", "--settings", options.defaults_ini.string(),
                 conversion.option, "-o", out.string(), log.string()},
                {}, m)) {
          std::fprintf(stderr, "tolvane-convert %s failed\n", conversion.option);
          all_ok = false;
          break;
        }
        runs.push_back(m);
      }
      if (runs.empty()) continue;
      const Summary run = summarize(runs);
      print_row((std::string("tolvane ") + conversion.name).c_str(), run, mb, true);
      std::printf(
          "    output %.1f MB; cpu (wall) ratios: / 3 plain passes %.2f (%.2f), target <= 2",
          static_cast<double>(file_size_or_zero(out)) / 1e6,
          run.cpu_seconds / (3 * plain.cpu_seconds), run.seconds / (3 * plain.seconds));
      if (babel.seconds > 0) {
        std::printf("; gpsbabel / tolvane %.1f (%.1f), target >= 10",
                    babel.cpu_seconds / run.cpu_seconds, babel.seconds / run.seconds);
      }
      std::printf("; peak memory %s 16 MB\n", run.peak_mb < 16 ? "under" : "OVER");
      if (std::strcmp(conversion.name, "KML") == 0) {
        kml = run;
        std::vector<Measure> gzip_runs;
        for (int r = 0; r < options.runs; ++r) {
          Measure m;
          if (!run_child({"gzip", "-1", "-k", "-f", out.string()}, {}, m)) break;
          gzip_runs.push_back(m);
        }
        fs::remove(out.string() + ".gz");
        if (!gzip_runs.empty()) {
          gzip = summarize(gzip_runs);
          print_row("gzip -1 of the KML", gzip, mb, true);
        }
      }
      if (std::strcmp(conversion.name, "KMZ") == 0 && kml.seconds > 0 && gzip.seconds > 0) {
        std::printf(
            "    KMZ / (KML + gzip -1): cpu %.2f (wall %.2f), target <= 1.5; peak memory KMZ - "
            "KML %+.1f MB, target <= 2\n",
            run.cpu_seconds / (kml.cpu_seconds + gzip.cpu_seconds),
            run.seconds / (kml.seconds + gzip.seconds), run.peak_mb - kml.peak_mb);
      }
      fs::remove(out);
    }
  }
  return all_ok ? 0 : 1;
}
