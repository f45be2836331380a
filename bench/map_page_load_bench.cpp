// Load time of the map page in headless Chromium: the page of a one-day log at 1 Hz with the
// built-in map layer, against a bare Leaflet page that draws the same data directly and against
// the page that loads the old map API (a no-op stand-in). Writes the log and the pages, then has
// bench/map_page_load.mjs time them; see bench/README.md.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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
  const fs::path loader = work / "day1_loader.html";
  for (const auto& [page, flag] : {std::pair{builtin, "1"}, std::pair{loader, "0"}}) {
    if (run({(self_dir / "tolvane-convert").string(), "--quiet", "--settings", absent_ini.string(),
             "--html", "--set", "GoogleMaps.mode=1", "--set",
             std::string("GoogleMaps.builtin_map=") + flag, "-o", page.string(), log.string()}) !=
        0) {
      std::fprintf(stderr, "cannot write %s\n", page.c_str());
      return 1;
    }
  }
  const fs::path script = fs::path(TOLVANE_SOURCE_DIR) / "bench" / "map_page_load.mjs";
  return run({node, script.string(), "--builtin", builtin.string(), "--loader", loader.string(),
              "--icons", (self_dir / "icons").string(), "--runs", runs, "--chromium", chromium}) ==
                 0
             ? 0
             : 1;
}
