// What the conversion benchmarks share: a program run in a child process with its wall time, cpu
// time and peak resident set; medians of such runs; the rows they print; and the options and
// set-up common to benchmarks that hold tolvane-convert against GPSBabel on long inputs.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"

namespace tolvane::bench {

struct Measure {
  double seconds = 0;      // wall-clock time
  double cpu_seconds = 0;  // user + system time, steadier than wall time on a busy machine
  double peak_mb = 0;      // of the child
};

struct Summary {
  double seconds = 0;      // median wall time
  double cpu_seconds = 0;  // median cpu time
  double peak_mb = 0;      // largest peak
};

inline Summary summarize(const std::vector<Measure>& runs) {
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

inline double process_cpu_seconds() {
  timespec now{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

inline double load_average() {
  double load[1] = {0};
  return ::getloadavg(load, 1) == 1 ? load[0] : 0;
}

// One row of figures; MB/s from the cpu time.
inline void print_row(const char* name, const Summary& s, double mb, bool with_peak = true) {
  std::printf("  %-18s %9.3f %9.3f %9.1f", name, s.seconds, s.cpu_seconds, mb / s.cpu_seconds);
  if (with_peak) std::printf(" %10.1f", s.peak_mb);
  std::printf("\n");
}

// Runs argv in a child with `environment` added; false unless it ends with status 0.
inline bool run_child(const std::vector<std::string>& argv,
                      const std::vector<std::string>& environment, Measure& measure) {
  const auto start = Clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    for (const std::string& assignment : environment) {
      ::putenv(const_cast<char*>(assignment.c_str()));
    }
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
  measure.seconds = seconds_since(start);
  measure.cpu_seconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  measure.peak_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct ConversionBenchOptions {
  int runs = 5;
  std::vector<int> days = {1, 7};
  std::filesystem::path work;
  std::filesystem::path converter;
  std::string gpsbabel = "gpsbabel";
  bool with_gpsbabel = true;
  std::filesystem::path defaults_ini;  // a missing file: every setting at its default
};

// Reads [--runs N] [--days 1,7] [--work DIR] [--converter PATH] [--gpsbabel PATH |
// --no-gpsbabel], then fills in the defaults beside this program and checks the converter and
// GPSBabel. Returns 0 to go on, else the exit status.
inline int prepare(int argc, char** argv, const char* name, ConversionBenchOptions& options) {
  namespace fs = std::filesystem;
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
                   "usage: %s [--runs N] [--days 1,7] [--work DIR] [--converter PATH] "
                   "[--gpsbabel PATH | --no-gpsbabel]\n",
                   name);
      return 2;
    }
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // figures appear as they are measured
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
  options.defaults_ini = options.work / "absent.ini";
  fs::remove(options.defaults_ini);
  std::printf("runs per figure: %d (medians); machine: %ld cores, load average %.1f\n",
              options.runs, ::sysconf(_SC_NPROCESSORS_ONLN), load_average());
  std::printf("%-20s %9s %9s %9s %10s\n", "", "wall s", "cpu s", "MB/s", "peak MB");
  return 0;
}

// GPSBabel's KML conversion of `input`, read as `format`, timed `runs` times (at most three for a
// multi-day input) and printed as a row; an empty summary when it is not there or fails.
inline Summary time_gpsbabel(const ConversionBenchOptions& options, const char* format,
                             const std::filesystem::path& input, int days, double mb) {
  if (!options.with_gpsbabel) return {};
  const std::filesystem::path out = options.work / "gpsbabel.kml";
  std::vector<Measure> runs;
  const int count = days > 1 ? std::min(options.runs, 3) : options.runs;
  for (int r = 0; r < count; ++r) {
    Measure m;
    if (!run_child(
            {options.gpsbabel, "-i", format, "-f", input.string(), "-o", "kml", "-F", out.string()},
            {"TZ=UTC"}, m)) {
      std::fprintf(stderr, "gpsbabel failed\n");
      break;
    }
    runs.push_back(m);
  }
  std::filesystem::remove(out);
  if (runs.empty()) return {};
  const Summary babel = summarize(runs);
  print_row("gpsbabel (TZ=UTC)", babel, mb);
  return babel;
}

}  // namespace tolvane::bench
