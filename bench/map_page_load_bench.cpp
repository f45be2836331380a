// Load time of the map page in headless Chromium: the page of a one-day log at 1 Hz with the
// built-in map layer, against the same page without the profile strip, a bare Leaflet page that
// draws the same data directly and the page that loads the old map API (a no-op stand-in).
// Writes the log and the pages, then has bench/map_page_load.mjs time them; also times
// --stats against the KML run of the same log. See bench/README.md.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "child_runs.h"
#include "day_log.h"

namespace {

namespace fs = std::filesystem;

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int run(const std::vector<std::string>& words) {
  std::string command;
  for (const std::string& word : words) command += quoted(word) + " ";
  return std::system(command.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path self_dir = fs::canonical("/proc/self/exe").parent_path();
  std::string runs = "7";
  fs::path work = self_dir / "bench-work";
  std::string node = "node";
  std::string chromium = "/usr/bin/chromium";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--runs")
      runs = argv[i + 1];
    else if (a == "--work")
      work = argv[i + 1];
    else if (a == "--node")
      node = argv[i + 1];
    else if (a == "--chromium")
      chromium = argv[i + 1];
    else {
      std::fprintf(stderr,
                   "usage: map_page_load_bench [--runs N] [--work DIR] [--node PATH] "
                   "[--chromium PATH]\n");
      return 2;
    }
  }
  fs::create_directories(work);
  const fs::path log = tolvane::bench::ensure_log(work, 1);
  if (log.empty()) {
    std::fprintf(stderr, "cannot write the one-day log\n");
    return 1;
  }
  const fs::path absent_ini = work / "absent.ini";
  fs::remove(absent_ini);
  const fs::path builtin = work / "day1_builtin.html";
  const fs::path no_profile = work / "day1_no_profile.html";
  const fs::path loader = work / "day1_loader.html";
  const std::string converter = (self_dir / "tolvane-convert").string();
  for (const auto& [page, builtin_map, profile] :
       {std::tuple{builtin, "1", "1"}, std::tuple{no_profile, "1", "0"},
        std::tuple{loader, "0", "1"}}) {
    if (run({converter, "--quiet", "--settings", absent_ini.string(), "--html", "--set",
             "GoogleMaps.mode=1", "--set", std::string("GoogleMaps.builtin_map=") + builtin_map,
             "--set", std::string("GoogleMaps.profile=") + profile, "-o", page.string(),
             log.string()}) != 0) {
      std::fprintf(stderr, "cannot write %s\n", page.c_str());
      return 1;
    }
  }

  // --stats reads the log once and prints a few lines; the KML run reads it three times.
  std::vector<tolvane::bench::Measure> stats_runs, kml_runs;
  const fs::path kml = work / "day1_stats_reference.kml";
  // The table goes to /dev/null; the shell hands its process over to the converter.
  const std::vector<std::string> stats_command = {
      "/bin/sh",           "-c",      "exec \"$0\" \"$@\" >/dev/null",
      converter,           "--quiet", "--settings",
      absent_ini.string(), "--stats", log.string()};
  const std::vector<std::string> kml_command = {
      converter, "--quiet", "--settings", absent_ini.string(), "-o", kml.string(), log.string()};
  for (int r = 0; r < std::max(std::atoi(runs.c_str()), 1); ++r) {
    tolvane::bench::Measure stats_run, kml_run;
    if (!tolvane::bench::run_child(stats_command, {}, stats_run) ||
        !tolvane::bench::run_child(kml_command, {}, kml_run)) {
      std::fprintf(stderr, "--stats or the KML run failed\n");
      return 1;
    }
    stats_runs.push_back(stats_run);
    kml_runs.push_back(kml_run);
  }
  const auto stats = tolvane::bench::summarize(stats_runs);
  const auto kml_run = tolvane::bench::summarize(kml_runs);
  std::printf("--stats against the KML run of the same log, medians of %zu runs (load %.1f)\n",
              stats_runs.size(), tolvane::bench::load_average());
  std::printf("  %-18s %9s %9s\n", "", "wall s", "cpu s");
  std::printf("  %-18s %9.3f %9.3f\n", "--stats", stats.seconds, stats.cpu_seconds);
  std::printf("  %-18s %9.3f %9.3f\n", "KML run", kml_run.seconds, kml_run.cpu_seconds);
  std::printf("goal: --stats at most as long as the KML run: %.2f (cpu)\n\n",
              stats.cpu_seconds / kml_run.cpu_seconds);
  std::fflush(stdout);
  const fs::path script = fs::path(TOLVANE_SOURCE_DIR) / "bench" / "map_page_load.mjs";
  return run({node, script.string(), "--builtin", builtin.string(), "--no-profile",
              no_profile.string(), "--loader", loader.string(), "--icons",
              (self_dir / "icons").string(), "--runs", runs, "--chromium", chromium}) == 0
             ? 0
             : 1;
}
