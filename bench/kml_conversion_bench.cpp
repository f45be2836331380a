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
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

#include "bench_support.h"
#include "day_log.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tolvane::bench::ensure_log;
using tolvane::bench::file_size_or_zero;
using tolvane::bench::median;

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

struct Measure {
  double seconds = 0;      // wall-clock time
  double cpu_seconds = 0;  // user + system time, steadier than wall time on a busy machine
  double peak_mb = 0;      // of the child
};

double cpu_seconds_of(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double process_cpu_seconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Summary {
  double seconds = 0;      // median wall time
  double cpu_seconds = 0;  // median cpu time
  double peak_mb = 0;      // largest peak
};

Summary summarize(const std::vector<Measure>& runs) {
  std::vector<double> wall, cpu;
  Summary summary;
  for (const Measure& m : runs) {
    wall.push_back(m.seconds);
    cpu.push_back(m.cpu_seconds);
    summary.peak_mb = std::max(summary.peak_mb, m.peak_mb);
  }
  summary.seconds = median(wall);
  summary.cpu_seconds = median(cpu);
  return summary;
}

// MB/s from the cpu time.
void print_row(const char* name, const Summary& s, double mb, bool with_peak) {
  std::printf("  %-18s %9.3f %9.3f %9.1f", name, s.seconds, s.cpu_seconds, mb / s.cpu_seconds);
  if (with_peak) std::printf(" %10.1f", s.peak_mb);
  std::printf("\n");
}

double load_average() {
  double load[1] = {0};
  return ::getloadavg(load, 1) == 1 ? load[0] : 0;
}

// Runs argv in a child with `environment` added; seconds and peak resident set.
bool run_child(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               Measure& measure) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    for (const std::string& assignment : environment)
      ::putenv(const_cast<char*>(assignment.c_str()));
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    std::perror(args[0]);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid) return false;
  measure.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  measure.cpu_seconds = cpu_seconds_of(usage);
  measure.peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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

struct Options {
  int runs = 5;
  std::vector<int> days = {1, 7};
  fs::path work;
  fs::path converter;
  std::string gpsbabel = "gpsbabel";
  bool with_gpsbabel = true;
};

bool parse(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
    if (a == "--runs") {
      options.runs = std::max(1, std::atoi(value().c_str()));
    } else if (a == "--days") {
      options.days.clear();
      const std::string list = value();
      for (std::size_t p = 0; p < list.size();) {
        options.days.push_back(std::atoi(list.c_str() + p));
        p = list.find(',', p);
        if (p == std::string::npos) break;
        ++p;
      }
    } else if (a == "--work") {
      options.work = value();
    } else if (a == "--converter") {
      options.converter = value();
    } else if (a == "--gpsbabel") {
      options.gpsbabel = value();
    } else if (a == "--no-gpsbabel") {
      options.with_gpsbabel = false;
    } else {
      std::fprintf(stderr,
                   "usage: kml_conversion_bench [--runs N] [--days 1,7] [--work DIR] "
                   "[--converter PATH] [--gpsbabel PATH | --no-gpsbabel]\n");
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // figures appear as they are measured
  Options options;
  if (!parse(argc, argv, options)) return 2;
  const fs::path self_dir = fs::canonical("/proc/self/exe").parent_path();
  if (options.converter.empty()) options.converter = self_dir / "tolvane-convert";
  if (options.work.empty()) options.work = self_dir / "bench-work";
  fs::create_directories(options.work);
  if (!fs::exists(options.converter)) {
    std::fprintf(stderr, "no converter at %s\n", options.converter.c_str());
    return 1;
  }
  if (options.with_gpsbabel && std::system((options.gpsbabel + " -V >/dev/null 2>&1").c_str())) {
    std::fprintf(stderr, "gpsbabel not found (scripts/install-deps.sh --bench installs it)\n");
    options.with_gpsbabel = false;
  }
  const fs::path defaults_ini = options.work / "absent.ini";  // missing: all defaults
  fs::remove(defaults_ini);

  std::printf("runs per figure: %d (medians); machine: %ld cores, load average %.1f\n",
              options.runs, ::sysconf(_SC_NPROCESSORS_ONLN), load_average());
  std::printf("%-20s %9s %9s %9s %10s\n", "", "wall s", "cpu s", "MB/s", "peak MB");
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

    Summary babel;
    if (options.with_gpsbabel) {
      const fs::path out = options.work / "gpsbabel.kml";
      std::vector<Measure> runs;
      const int count = days > 1 ? std::min(options.runs, 3) : options.runs;
      for (int r = 0; r < count; ++r) {
        Measure m;
        if (!run_child({options.gpsbabel, "-i", "nmea", "-f", log.string(), "-o", "kml", "-F",
                        out.string()},
                       {"TZ=UTC"}, m)) {
          std::fprintf(stderr, "gpsbabel failed\n");
          break;
        }
        runs.push_back(m);
      }
      if (!runs.empty()) {
        babel = summarize(runs);
        print_row("gpsbabel (TZ=UTC)", babel, mb, true);
      }
      fs::remove(out);
    }

    Summary kml;   // the KML run
    Summary gzip;  // gzip -1 of its output
    for (const Conversion& conversion : kConversions) {
      const fs::path out = options.work / (std::string("out") + conversion.extension);
      std::vector<Measure> runs;
      for (int r = 0; r < options.runs; ++r) {
        Measure m;
        if (!run_child({options.converter.string(), "-q", "--settings", defaults_ini.string(),
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
