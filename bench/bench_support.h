// Pieces the benchmarks share: medians, wall-clock intervals and the bare JPEG decode that is the
// floor of every photo benchmark.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace tolvane::bench {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A row buffer 8 bytes past a 32-byte boundary (libjpeg-turbo's fastest case).
struct Row {
  explicit Row(std::size_t bytes) : storage(std::make_unique<unsigned char[]>(bytes + 64)) {
    auto address = reinterpret_cast<std::uintptr_t>(storage.get());
    data = storage.get() + (8 - address % 32 + 32) % 32;
  }
  std::unique_ptr<unsigned char[]> storage;
  unsigned char* data;
};

// The floor: the whole photo decoded at full resolution to RGB, one row at a time, kept nowhere.
inline void bare_decode(const std::filesystem::path& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) std::exit(1);
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  Row row(static_cast<std::size_t>(info.output_width) * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW pointer = row.data;
    jpeg_read_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::fclose(file);
}

}  // namespace tolvane::bench
