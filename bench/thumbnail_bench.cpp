// Times make_thumbnail (edge 128, quality 75) on generated 8 MP and 24 MP photos against a bare
// full-resolution libjpeg decode of the same file, the floor that any thumbnail maker pays, and
// measures the peak memory of both above the process's baseline in a child process.
// Usage: thumbnail_bench [--runs N] [--work DIR]; prints medians.
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

#include "bench_support.h"
#include "photos/thumbnail.h"

namespace {
namespace fs = std::filesystem;
using tolvane::bench::bare_decode;
using tolvane::bench::median;
using tolvane::bench::Row;
using Clock = std::chrono::steady_clock;

struct Photo {
  const char* name;
  int width;
  int height;
  bool progressive;
};

constexpr Photo kPhotos[] = {
    {"8mp.jpg", 3264, 2448, false},
    {"24mp.jpg", 6000, 4000, false},
    {"24mp-progressive.jpg", 6000, 4000, true},
};

// A camera-like picture: smooth light, edges and fine texture, encoded at quality 92, 4:2:0.
void write_photo(const fs::path& path, const Photo& photo) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  jpeg_compress_struct info{};
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = photo.width;
  info.image_height = photo.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 92, TRUE);
  if (photo.progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(photo.width) * 3);
  std::mt19937 random(1);
  while (info.next_scanline < info.image_height) {
    int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < photo.width; ++x) {
      int light = 60 + 120 * x / photo.width + 40 * y / photo.height;
      int stripe = ((x / 97 + y / 61) % 5 == 0) ? 50 : 0;
      for (int c = 0; c < 3; ++c) {
        int value = light + stripe + c * 15 + static_cast<int>(random() % 24) - 12;
        row[3 * x + c] = static_cast<unsigned char>(std::clamp(value, 0, 255));
      }
    }
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

// Made and written into the folder, as the photo stage does it.
void thumbnail(const fs::path& path, const fs::path& folder) {
  tolvane::ThumbnailFolder target(folder);
  const tolvane::ThumbnailResult made = tolvane::make_thumbnail(path, target, 128, 75, 0);
  if (made.status != 0 || !target.put("s" + path.filename().string(), made.jpeg)) {
    std::fprintf(stderr, "make_thumbnail failed for %s\n", path.c_str());
    std::exit(1);
  }
}

double cpu_seconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

struct Timing {
  double wall;
  double cpu;
};

Timing time_once(const std::function<void()>& work) {
  double cpu = cpu_seconds();
  Clock::time_point start = Clock::now();
  work();
  return {std::chrono::duration<double>(Clock::now() - start).count(), cpu_seconds() - cpu};
}

long status_kb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  std::size_t length = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, length, field) == 0) return std::atol(line.c_str() + length + 1);
  }
  return -1;
}

// The peak resident memory of `work` above the resident memory before it, in a fresh child
// process whose peak is reset first; -1 when it cannot be measured.
double peak_megabytes_above_baseline(const std::function<void()>& work) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return -1;
  pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_ends[0]);
    long before = status_kb("VmRSS:");
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts from here
    work();
    long peak = status_kb("VmHWM:");
    long grown = peak >= 0 && before >= 0 ? peak - before : -1;
    if (::write(pipe_ends[1], &grown, sizeof grown) != sizeof grown) ::_exit(1);
    ::_exit(0);
  }
  ::close(pipe_ends[1]);
  long grown = -1;
  if (::read(pipe_ends[0], &grown, sizeof grown) != sizeof grown) grown = -1;
  ::close(pipe_ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return grown < 0 ? -1 : grown / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 7;
  fs::path work = fs::temp_directory_path() / "tolvane-thumbnail-bench";
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (option == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (option == "--work" && i + 1 < argc) {
      work = argv[++i];
    } else {
      std::fprintf(stderr, "usage: thumbnail_bench [--runs N] [--work DIR]\n");
      return 2;
    }
  }
  fs::create_directories(work / "pics");

  std::printf(
      "make_thumbnail (edge 128, quality 75) against a bare full-size decode; medians of "
      "%d runs\n\n",
      runs);
  std::printf("%-22s %9s %9s %9s %9s %8s %8s %9s %9s %12s\n", "photo", "decode", "thumb", "", "",
              "", "", "decode", "thumb", "thumb");
  std::printf("%-22s %9s %9s %9s %9s %8s %8s %9s %9s %12s\n", "", "wall ms", "wall ms", "cpu ms",
              "cpu ms", "ratio", "ratio", "peak MB", "peak MB", "- decode MB");
  std::printf("%-22s %9s %9s %9s %9s %8s %8s\n", "", "", "", "", "", "wall", "cpu");
  for (const Photo& photo : kPhotos) {
    fs::path path = work / photo.name;
    if (!fs::exists(path)) write_photo(path, photo);
    auto decode = [&] { bare_decode(path); };
    auto make = [&] { thumbnail(path, work / "pics"); };
    decode();  // warm the page cache and the allocator
    make();
    std::vector<double> decode_wall, decode_cpu, make_wall, make_cpu;
    for (int run = 0; run < runs; ++run) {
      Timing d = time_once(decode);
      Timing m = time_once(make);
      decode_wall.push_back(d.wall), decode_cpu.push_back(d.cpu);
      make_wall.push_back(m.wall), make_cpu.push_back(m.cpu);
    }
    double decode_memory = peak_megabytes_above_baseline(decode);
    double make_memory = peak_megabytes_above_baseline(make);
    double dw = median(decode_wall), mw = median(make_wall);
    double dc = median(decode_cpu), mc = median(make_cpu);
    std::printf("%-22s %9.1f %9.1f %9.1f %9.1f %7.3fx %7.3fx %9.1f %9.1f %12.1f\n", photo.name,
                dw * 1e3, mw * 1e3, dc * 1e3, mc * 1e3, mw / dw, mc / dc, decode_memory,
                make_memory, make_memory - decode_memory);
  }
  std::printf(
      "\ntargets: ratio at most 1.10; a baseline 24 MP photo under 8 MB above the "
      "baseline\n");
  return 0;
}
