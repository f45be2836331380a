// Times the photo stage of a KML run over 40 generated 8 MP photos and a one-hour log, with one
// thumbnail worker and with one per core, against the floor: the sum of bare full-resolution
// decodes of the same photos divided by the number of cores.
// Usage: photo_stage_bench [--runs N] [--photos N] [--work DIR] [--log LOG]; prints medians.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "core/run_messages.h"
#include "kml/kml_run.h"

namespace {
namespace fs = std::filesystem;
using tolvane::bench::bare_decode;
using tolvane::bench::Clock;
using tolvane::bench::median;
using tolvane::bench::seconds_since;

// Notes when the photo stage starts and when the run ends.
class StageClock : public tolvane::ProgressView {
 public:
  Clock::time_point stage_start{};
  Clock::time_point finished{};
  bool failed = false;
  void set_status_text(std::string_view text) override {
    if (text == tolvane::messages::kCheckingPhotos) stage_start = Clock::now();
    if (text == tolvane::messages::kFinished) finished = Clock::now();
  }
  void set_progress(int) override {}
  void show_error(std::string_view message) override {
    std::fprintf(stderr, "photo_stage_bench: %.*s\n", static_cast<int>(message.size()),
                 message.data());
    failed = true;
  }
};

double stage_seconds(const fs::path& log, const std::vector<fs::path>& photos,
                     const fs::path& output, unsigned workers) {
  tolvane::ConversionInput input;
  input.log_paths = {log};
  input.photo_paths = photos;
  input.output_path = output;
  input.thumbnail_workers = workers;
  tolvane::ConversionSettings settings;
  StageClock clock;
  if (tolvane::convert_to_kml(input, settings, clock) != 0 || clock.failed) std::exit(1);
  return std::chrono::duration<double>(clock.finished - clock.stage_start).count();
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  int count = 40;
  fs::path work = fs::temp_directory_path() / "tolvane-photo-stage-bench";
  fs::path log = fs::path(TOLVANE_SOURCE_DIR) / "examples" / "example.log";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--photos") count = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--work") work = argv[i + 1];
    if (option == "--log") log = argv[i + 1];
  }
  const fs::path photo_folder = work / "photos";
  std::vector<fs::path> photos;
  for (int k = 1; k <= count; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.JPG", k);
    photos.push_back(photo_folder / name);
  }
  if (!std::all_of(photos.begin(), photos.end(), [](const fs::path& p) { return fs::exists(p); })) {
    // The example log runs from 09:40 to 10:40 local time; one photo a minute from 09:50.
    const fs::path maker = fs::path(argv[0]).parent_path() / "make_example_photos";
    const std::string command = maker.string() + " " + photo_folder.string() + " " +
                                std::to_string(count) + " '2024:05:18 09:50:00' 60 3264 2448";
    std::fprintf(stderr, "photo_stage_bench: writing %d photos of 8 MP into %s\n", count,
                 photo_folder.c_str());
    if (std::system(command.c_str()) != 0) return 1;
  }
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());

  std::vector<double> decode, one, all;
  for (int r = 0; r < runs; ++r) {
    Clock::time_point start = Clock::now();
    for (const fs::path& p : photos) bare_decode(p);
    decode.push_back(seconds_since(start));
    fs::remove_all(work / "trip_pics");
    one.push_back(stage_seconds(log, photos, work / "trip.kml", 1));
    fs::remove_all(work / "trip_pics");
    all.push_back(stage_seconds(log, photos, work / "trip.kml", cores));
  }
  const double floor = median(decode) / cores;
  std::printf("photos: %d of 3264 x 2448, runs: %d, cores: %u (medians)\n", count, runs, cores);
  std::printf("bare decodes, all photos      %7.3f s   (floor: / %u cores = %.3f s)\n",
              median(decode), cores, floor);
  std::printf("photo stage, --jobs 1         %7.3f s\n", median(one));
  std::printf("photo stage, --jobs %-2u        %7.3f s\n", cores, median(all));
  std::printf("speed-up jobs %u / jobs 1      %7.2f x   (target >= 1.7 on 2 cores)\n", cores,
              median(one) / median(all));
  std::printf("stage / floor                 %7.2f x   (target <= 1.2)\n", median(all) / floor);
  return 0;
}
