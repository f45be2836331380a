// Writes camera-like JPEG photos with an Exif capture time, for the demo and the benchmarks.
// Usage: make_example_photos FOLDER COUNT "YYYY:MM:DD HH:MM:SS" STEP_SECONDS WIDTH HEIGHT [PREFIX]
// Photo k is taken STEP_SECONDS x k after the given time and named PREFIX + 4 digits + ".JPG".
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace {

struct Time {
  int year, month, day, hour, minute, second;
};

int days_in_month(int y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  return m == 2 && leap ? 29 : kDays[m - 1];
}

Time add_seconds(Time t, long seconds) {
  long s = t.second + seconds;
  t.second = static_cast<int>(s % 60);
  long m = t.minute + s / 60;
  t.minute = static_cast<int>(m % 60);
  long h = t.hour + m / 60;
  t.hour = static_cast<int>(h % 24);
  for (long d = h / 24; d > 0; --d) {
    if (++t.day > days_in_month(t.year, t.month)) {
      t.day = 1;
      if (++t.month > 12) {
        t.month = 1;
        ++t.year;
      }
    }
  }
  return t;
}

void put16(std::vector<std::uint8_t>& v, unsigned x) {
  v.push_back(static_cast<std::uint8_t>(x));
  v.push_back(static_cast<std::uint8_t>(x >> 8));
}
void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

// A little-endian Exif block: IFD0 with DateTime and the Exif pointer, the Exif IFD with
// DateTimeOriginal; both hold the same time.
std::vector<std::uint8_t> exif_block(const Time& t) {
  char date[32];
  std::snprintf(date, sizeof date, "%04d:%02d:%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  std::vector<std::uint8_t> v = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0};
  put32(v, 8);
  const std::uint32_t ifd0 = 8, exif_ifd = ifd0 + 2 + 2 * 12 + 4, strings = exif_ifd + 2 + 12 + 4;
  put16(v, 2);
  put16(v, 0x0132), put16(v, 2), put32(v, 20), put32(v, strings);
  put16(v, 0x8769), put16(v, 4), put32(v, 1), put32(v, exif_ifd);
  put32(v, 0);
  put16(v, 1);
  put16(v, 0x9003), put16(v, 2), put32(v, 20), put32(v, strings);
  put32(v, 0);
  v.insert(v.end(), date, date + 20);  // 19 characters and the terminating zero
  return v;
}

bool write_photo(const std::filesystem::path& path, int width, int height, int k, const Time& t) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 92, TRUE);
  cinfo.write_JFIF_header = FALSE;  // the Exif segment follows the start of image, as cameras do
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<std::uint8_t> exif = exif_block(t);
  jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));

  // A landscape: sky fading to the horizon, hills, a sun whose place changes from photo to photo.
  const double sun_x = width * (0.2 + 0.6 * ((k * 37) % 100) / 100.0);
  const double sun_y = height * 0.25;
  const double sun_r = height * 0.08;
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      double fy = static_cast<double>(y) / height, fx = static_cast<double>(x) / width;
      double hill = 0.6 + 0.08 * std::sin(fx * 6.0 + k) + 0.05 * std::sin(fx * 17.0);
      int r, g, b;
      if (fy > hill) {
        double shade = 0.7 + 0.3 * std::sin(fx * 40.0 + fy * 25.0);
        r = static_cast<int>(40 * shade), g = static_cast<int>((120 + 60 * (1 - fy)) * shade),
        b = static_cast<int>(50 * shade);
      } else {
        r = static_cast<int>(90 + 120 * fy), g = static_cast<int>(150 + 80 * fy), b = 235;
        double dx = x - sun_x, dy = y - sun_y;
        if (dx * dx + dy * dy < sun_r * sun_r) r = 255, g = 230, b = 120;
      }
      // Sensor-like grain, so that the photo decodes about as slowly as a camera's does.
      std::uint32_t h = static_cast<std::uint32_t>(x) * 73856093u ^
                        static_cast<std::uint32_t>(y) * 19349663u ^
                        static_cast<std::uint32_t>(k) * 83492791u;
      h ^= h >> 13;
      h *= 0x5bd1e995u;
      const int grain = static_cast<int>((h >> 24) % 25) - 12;
      auto channel = [&](int v) { return static_cast<JSAMPLE>(std::clamp(v + grain, 0, 255)); };
      row[static_cast<std::size_t>(x) * 3] = channel(r);
      row[static_cast<std::size_t>(x) * 3 + 1] = channel(g);
      row[static_cast<std::size_t>(x) * 3 + 2] = channel(b);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7) {
    std::fprintf(stderr,
                 "usage: make_example_photos FOLDER COUNT \"YYYY:MM:DD HH:MM:SS\" STEP_SECONDS "
                 "WIDTH HEIGHT [PREFIX]\n");
    return 2;
  }
  std::filesystem::path folder = argv[1];
  const int count = std::atoi(argv[2]);
  Time start{};
  if (std::sscanf(argv[3], "%d:%d:%d %d:%d:%d", &start.year, &start.month, &start.day, &start.hour,
                  &start.minute, &start.second) != 6) {
    std::fprintf(stderr, "make_example_photos: bad time %s\n", argv[3]);
    return 2;
  }
  const long step = std::atol(argv[4]);
  const int width = std::atoi(argv[5]), height = std::atoi(argv[6]);
  const std::string prefix = argc > 7 ? argv[7] : "IMG_";
  std::filesystem::create_directories(folder);
  for (int k = 0; k < count; ++k) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%04d.JPG", prefix.c_str(), k + 1);
    if (!write_photo(folder / name, width, height, k, add_seconds(start, step * k))) {
      std::fprintf(stderr, "make_example_photos: cannot write %s\n", (folder / name).c_str());
      return 1;
    }
  }
  return 0;
}
