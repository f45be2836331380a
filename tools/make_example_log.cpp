// Writes the bundled example log: an hour's ride at 1 Hz through central Tokyo on 18 May 2024
// (09:40 to 10:40 local time), with two and a half minutes without reception (a tunnel).
// Build and run: c++ -std=c++20 -O2 tools/make_example_log.cpp -o make_example_log
//                ./make_example_log examples/example.log
#include <cstdio>

#include "nmea_log_generator.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_example_log OUTPUT\n");
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  tolvane::tools::NmeaLogPlan plan;
  plan.seconds = 3600;
  plan.top_speed_kmh = 28;
  plan.no_fix = {{1200, 1350}};
  plan.seed = 20240518;
  tolvane::tools::write_nmea_log(out, plan);
  return std::fclose(out) == 0 ? 0 : 1;
}
