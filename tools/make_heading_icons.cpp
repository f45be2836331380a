// Draws the 16 heading icons pt000.png ... pt337.png: an arrow pointing k x 22.5 degrees
// clockwise from north, on a transparent ground. Usage: make_heading_icons FOLDER
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kSubsamples = 4;

std::uint32_t crc32(const std::uint8_t* data, std::size_t length, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < length; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& png, const char* type, const std::vector<std::uint8_t>& data) {
  put32(png, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  put32(png, crc32(body.data(), body.size()));
}

// A PNG of RGBA rows, stored with uncompressed deflate blocks (the icons are tiny).
std::vector<std::uint8_t> encode_png(const std::vector<std::uint8_t>& rgba) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < kSize; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), rgba.begin() + y * kSize * 4, rgba.begin() + (y + 1) * kSize * 4);
  }
  std::vector<std::uint8_t> z = {0x78, 0x01};
  std::size_t pos = 0;
  while (pos < raw.size() || raw.empty()) {
    std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
    bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(n));
    z.push_back(static_cast<std::uint8_t>(n >> 8));
    z.push_back(static_cast<std::uint8_t>(~n));
    z.push_back(static_cast<std::uint8_t>((~n) >> 8));
    z.insert(z.end(), raw.begin() + static_cast<long>(pos), raw.begin() + static_cast<long>(pos + n));
    pos += n;
    if (last) break;
  }
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  put32(z, (b << 16) | a);

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  put32(header, kSize);
  put32(header, kSize);
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", z);
  chunk(png, "IEND", {});
  return png;
}

struct Point {
  double x, y;
};

bool inside(const std::vector<Point>& polygon, double x, double y) {
  bool in = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

// An arrow around the icon's centre; north is up, angles turn clockwise.
std::vector<std::uint8_t> draw_arrow(double degrees) {
  const std::vector<Point> shape = {{0, -14}, {9, 2}, {3, 0}, {3, 13}, {-3, 13}, {-3, 0}, {-9, 2}};
  const double r = degrees * M_PI / 180.0;
  std::vector<Point> outer;
  for (const Point& p : shape) {
    outer.push_back({kSize / 2.0 + p.x * std::cos(r) - p.y * std::sin(r),
                     kSize / 2.0 + p.x * std::sin(r) + p.y * std::cos(r)});
  }
  std::vector<std::uint8_t> rgba(kSize * kSize * 4, 0);
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      int hits = 0;
      for (int sy = 0; sy < kSubsamples; ++sy) {
        for (int sx = 0; sx < kSubsamples; ++sx) {
          hits += inside(outer, x + (sx + 0.5) / kSubsamples, y + (sy + 0.5) / kSubsamples);
        }
      }
      std::uint8_t* px = &rgba[(y * kSize + x) * 4];
      px[0] = 0xD0;
      px[1] = 0x20;
      px[2] = 0x20;
      px[3] = static_cast<std::uint8_t>(255 * hits / (kSubsamples * kSubsamples));
    }
  }
  return rgba;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_heading_icons FOLDER\n");
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  for (int k = 0; k < 16; ++k) {
    const double degrees = k * 22.5;
    char name[16];
    std::snprintf(name, sizeof name, "pt%03d.png", static_cast<int>(degrees));
    std::vector<std::uint8_t> png = encode_png(draw_arrow(degrees));
    std::FILE* f = std::fopen((folder / name).c_str(), "wb");
    if (!f || std::fwrite(png.data(), 1, png.size(), f) != png.size() || std::fclose(f) != 0) {
      std::fprintf(stderr, "make_heading_icons: cannot write %s\n", (folder / name).c_str());
      return 1;
    }
  }
  return 0;
}
