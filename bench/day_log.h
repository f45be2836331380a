// The generated multi-day logs that the benchmarks share: written once into a work folder and
// kept there (a ".done" file beside each marks it complete).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "../tools/nmea_log_generator.h"

namespace tolvane::bench {

inline std::uintmax_t file_size_or_zero(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? 0 : size;
}

// The log of `days` days, written once and kept in the work folder.
inline std::filesystem::path ensure_log(const std::filesystem::path& work, int days) {
  const std::filesystem::path path = work / ("day" + std::to_string(days) + ".log");
  const std::filesystem::path done = work / ("day" + std::to_string(days) + ".done");
  if (std::filesystem::exists(done) && file_size_or_zero(path) > 0) return path;
  std::fprintf(stderr, "writing %s ...\n", path.c_str());
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return {};
  static char buffer[1 << 20];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  tolvane::tools::NmeaLogPlan plan;
  plan.year = 2024;
  plan.month = 5;
  plan.day = 18;
  plan.hour = 0;
  plan.minute = 0;
  plan.seconds = 86400L * days;
  plan.top_speed_kmh = 50;
  // A tunnel now and then: two minutes without a fix every six hours.
  for (long t = 3 * 3600; t < plan.seconds; t += 6 * 3600) plan.no_fix.push_back({t, t + 120});
  plan.seed = 86400u * static_cast<unsigned>(days);
  tolvane::tools::write_nmea_log(out, plan);
  if (std::fclose(out) != 0) return {};
  std::fclose(std::fopen(done.c_str(), "w"));
  return path;
}

}  // namespace tolvane::bench
