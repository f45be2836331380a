// A small RGBA raster with anti-aliased shape filling and a PNG encoder, for the images that the
// build draws itself (heading icons, map pins, the application icon).
#pragma once

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace tolvane::tools {

struct Point {
  double x, y;
};

struct Rgba {
  std::uint8_t r, g, b, a;
};

class RgbaImage {
 public:
  RgbaImage(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height * 4, 0) {}

  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<std::uint8_t>& pixels() const { return pixels_; }

  // Paints `colour` over every pixel in proportion to the share of its 4x4 sample points for
  // which inside(x, y) holds (source-over compositing).
  template <class Inside>
  void fill(Inside&& inside, Rgba colour) {
    constexpr int kSubsamples = 4;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        int hits = 0;
        for (int sy = 0; sy < kSubsamples; ++sy) {
          for (int sx = 0; sx < kSubsamples; ++sx) {
            hits += inside(x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples) ? 1 : 0;
          }
        }
        if (hits > 0) blend(x, y, colour, hits / double(kSubsamples * kSubsamples));
      }
    }
  }

  void fill_polygon(const std::vector<Point>& polygon, Rgba colour) {
    fill([&](double x, double y) { return inside_polygon(polygon, x, y); }, colour);
  }

  static bool inside_polygon(const std::vector<Point>& polygon, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
      const Point& a = polygon[i];
      const Point& b = polygon[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  }

 private:
  void blend(int x, int y, Rgba c, double coverage) {
    std::uint8_t* px = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 4];
    const double src_a = c.a / 255.0 * coverage;
    const double dst_a = px[3] / 255.0;
    const double out_a = src_a + dst_a * (1 - src_a);
    if (out_a <= 0) return;
    const std::array<std::uint8_t, 3> src = {c.r, c.g, c.b};
    for (int k = 0; k < 3; ++k) {
      const double v = (src[k] * src_a + px[k] * dst_a * (1 - src_a)) / out_a;
      px[k] = static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
    }
    px[3] = static_cast<std::uint8_t>(std::clamp(out_a * 255 + 0.5, 0.0, 255.0));
  }

  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

namespace png_detail {

inline std::uint32_t crc32(const std::uint8_t* data, std::size_t length) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void chunk(std::vector<std::uint8_t>& png, const char* type,
                  const std::vector<std::uint8_t>& data) {
  put32(png, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  put32(png, crc32(body.data(), body.size()));
}

}  // namespace png_detail

// A PNG of the image; empty when zlib fails.
inline std::vector<std::uint8_t> encode_png(const RgbaImage& image) {
  using namespace png_detail;
  const std::size_t row = static_cast<std::size_t>(image.width()) * 4;
  std::vector<std::uint8_t> raw;
  raw.reserve((row + 1) * static_cast<std::size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    raw.push_back(0);  // no filter
    const auto begin = image.pixels().begin() + static_cast<long>(y * row);
    raw.insert(raw.end(), begin, begin + static_cast<long>(row));
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> z(packed_size);
  if (compress2(z.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) {
    return {};
  }
  z.resize(packed_size);

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  put32(header, static_cast<std::uint32_t>(image.width()));
  put32(header, static_cast<std::uint32_t>(image.height()));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", z);
  chunk(png, "IEND", {});
  return png;
}

// Writes `bytes` to `path`; false when it cannot.
inline bool write_bytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return false;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace tolvane::tools
