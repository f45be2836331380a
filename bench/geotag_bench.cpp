// Geotagging many camera photos from a one-day log: `tolvane-convert --geotag` against one
// `exiftool -geotag` run over copies of the same photos, and the floor of copying the folder
// and one sync. Usage: geotag_bench [--runs N] [--photos N] [--work DIR] [--converter PATH]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "child_runs.h"
#include "day_log.h"

namespace fs = std::filesystem;
using namespace tolvane::bench;

namespace {

// A fresh copy of `master` in `copy`, made durable: the floor that any safe geotagger pays.
bool fresh_copy(const fs::path& master, const fs::path& copy, Measure& measure) {
  fs::remove_all(copy);
  return run_child({"sh", "-c", "cp -a '" + master.string() + "' '" + copy.string() + "' && sync"},
                   {}, measure);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 3;
  int count = 500;
  fs::path work;
  fs::path converter;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--photos") count = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--work") work = argv[i + 1];
    if (option == "--converter") converter = argv[i + 1];
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const fs::path self_dir = fs::canonical("/proc/self/exe").parent_path();
  if (converter.empty()) converter = self_dir / "tolvane-convert";
  if (work.empty()) work = self_dir / "bench-work";
  fs::create_directories(work);
  if (std::system("exiftool -ver >/dev/null 2>&1") != 0) {
    std::fprintf(stderr, "exiftool not found (scripts/install-deps.sh installs it)\n");
    return 1;
  }
  const fs::path log = ensure_log(work, 1);  // 2024-05-18, 00:00 to 24:00 UTC
  if (log.empty()) return 1;

  // Photos of 8 MP, one every two minutes from 09:00 Japanese time (Common.GMT 9), on the log.
  const fs::path master = work / ("geotag-photos-" + std::to_string(count));
  std::vector<std::string> names;
  for (int k = 1; k <= count; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.JPG", k);
    names.push_back(name);
  }
  if (!std::all_of(names.begin(), names.end(),
                   [&](const std::string& n) { return fs::exists(master / n); })) {
    std::fprintf(stderr, "geotag_bench: writing %d photos of 8 MP into %s\n", count,
                 master.c_str());
    const std::string command = (self_dir / "make_example_photos").string() + " " +
                                master.string() + " " + std::to_string(count) +
                                " '2024:05:18 09:00:00' 120 3264 2448";
    if (std::system(command.c_str()) != 0) return 1;
  }
  double folder_mb = 0;
  for (const std::string& n : names) folder_mb += static_cast<double>(fs::file_size(master / n));
  folder_mb /= 1e6;

  const fs::path copy = work / "geotag-photos-run";
  const fs::path absent_ini = work / "absent.ini";
  fs::remove(absent_ini);
  std::vector<Measure> copies, ours, theirs;
  for (int r = 0; r < runs; ++r) {
    Measure m;
    if (!fresh_copy(master, copy, m)) return 1;
    copies.push_back(m);
    std::vector<std::string> command = {converter.string(),  "-q",       "--settings",
                                        absent_ini.string(), "--geotag", log.string()};
    for (const std::string& n : names) command.push_back((copy / n).string());
    if (!run_child(command, {}, m)) {
      std::fprintf(stderr, "tolvane-convert --geotag failed\n");
      return 1;
    }
    ours.push_back(m);

    if (!fresh_copy(master, copy, m)) return 1;
    // exiftool reads DateTimeOriginal in the local zone of its process: Japanese time.
    if (!run_child({"exiftool", "-q", "-q", "-overwrite_original", "-geotag", log.string(), "-api",
                    "GeoMaxIntSecs=1800", "-api", "GeoMaxExtSecs=1800", copy.string()},
                   {"TZ=JST-9"}, m)) {
      std::fprintf(stderr, "exiftool -geotag failed\n");
      return 1;
    }
    theirs.push_back(m);
  }
  fs::remove_all(copy);

  const Summary floor = summarize(copies);
  const Summary tolvane = summarize(ours);
  const Summary exiftool = summarize(theirs);
  std::printf(
      "photos: %d of 3264 x 2448 (%.0f MB), log: one day at 1 Hz, runs: %d (medians), "
      "load average %.1f\n",
      count, folder_mb, runs, load_average());
  std::printf("%-20s %9s %9s %9s %10s\n", "", "wall s", "cpu s", "MB/s", "peak MB");
  print_row("copy + sync", floor, folder_mb, false);
  print_row("tolvane --geotag", tolvane, folder_mb);
  print_row("exiftool -geotag", exiftool, folder_mb);
  std::printf("exiftool / tolvane   %9.2f x (wall), %.2f x (cpu)   (target >= 3, aim 5)\n",
              exiftool.seconds / tolvane.seconds, exiftool.cpu_seconds / tolvane.cpu_seconds);
  std::printf("tolvane / floor      %9.2f x (wall)\n", tolvane.seconds / floor.seconds);
  return 0;
}
