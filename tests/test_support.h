// Helpers shared by the tests: a scratch folder per test, file contents, a ProgressView that
// records what a run reports, generated NMEA logs and generated camera photos.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/run_contracts.h"
#include "core/text_format.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>

namespace tolvane::testing {

namespace fs = std::filesystem;

inline std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void write_file(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// `text` as one word of the shell, in single quotes.
inline std::string quoted(const std::string& text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

// What a program run through the shell left: its exit status (-1 when it did not exit) and what
// it wrote to standard output and standard error.
struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `command` through the shell with empty standard input, its two outputs caught in the
// files `out` and `err`.
inline Outcome run_shell(const std::string& command, const fs::path& out, const fs::path& err) {
  const std::string full =
      command + " </dev/null >" + quoted(out.string()) + " 2>" + quoted(err.string());
  const int raw = std::system(full.c_str());
  Outcome outcome;
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  outcome.out = read_file(out);
  outcome.err = read_file(err);
  return outcome;
}

// A fresh folder for each test, removed afterwards.
class ScratchFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tolvane_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;
};

// Every call of a run, in order: "status TEXT", "progress N", "error TEXT"; `on_status`, when
// set, acts on each status text as it comes.
class RecordingView : public ProgressView {
 public:
  std::vector<std::string> events;
  std::function<void(std::string_view)> on_status;

  void set_status_text(std::string_view text) override {
    events.push_back("status " + std::string(text));
    if (on_status) on_status(text);
  }
  void set_progress(int percent) override {
    events.push_back("progress " + std::to_string(percent));
  }
  void show_error(std::string_view message) override {
    events.push_back("error " + std::string(message));
  }
  int errors() const {
    int count = 0;
    for (const std::string& e : events) count += e.rfind("error ", 0) == 0;
    return count;
  }
};

// One fix of a generated log, in UTC.
struct Fix {
  int hhmmss;
  int ddmmyy;
  double latitude;  // degrees, north positive
  double longitude;
  double knots = 0;
  double course = 0;
  double altitude = 0;
};

inline std::string nmea_coordinate(double degrees, int degree_digits) {
  const double magnitude = degrees < 0 ? -degrees : degrees;
  const int whole = static_cast<int>(magnitude);
  const double minutes = (magnitude - whole) * 60.0;
  return format_text(degree_digits == 2 ? "%02d%07.4f" : "%03d%07.4f", whole, minutes);
}

// A log of $GPGGA/$GPRMC pairs with CR LF line ends.
inline std::string nmea_text(const std::vector<Fix>& fixes) {
  std::string text = "$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1*39\r\n";
  for (const Fix& f : fixes) {
    const std::string lat = nmea_coordinate(f.latitude, 2) + (f.latitude < 0 ? ",S" : ",N");
    const std::string lon = nmea_coordinate(f.longitude, 3) + (f.longitude < 0 ? ",W" : ",E");
    append_format(text, "$GPGGA,%06d.000,%s,%s,1,08,0.9,%.1f,M,39.5,M,,*47\r\n", f.hhmmss,
                  lat.c_str(), lon.c_str(), f.altitude);
    append_format(text, "$GPRMC,%06d.000,A,%s,%s,%.2f,%.2f,%06d,,,A*6A\r\n", f.hhmmss, lat.c_str(),
                  lon.c_str(), f.knots, f.course, f.ddmmyy);
  }
  return text;
}

// hhmmss moved by `seconds`, within the day.
inline int add_seconds(int hhmmss, int seconds) {
  int s = hhmmss / 10000 * 3600 + hhmmss / 100 % 100 * 60 + hhmmss % 100 + seconds;
  s = ((s % 86400) + 86400) % 86400;
  return s / 3600 * 10000 + s / 60 % 60 * 100 + s % 60;
}

// A little-endian Exif APP1 body whose DateTimeOriginal is `taken` ("YYYY:MM:DD HH:MM:SS").
inline std::vector<std::uint8_t> exif_with_capture_time(const std::string& taken,
                                                        int orientation = 0) {
  auto put16 = [](std::vector<std::uint8_t>& v, unsigned x) {
    v.push_back(static_cast<std::uint8_t>(x));
    v.push_back(static_cast<std::uint8_t>(x >> 8));
  };
  auto put32 = [&](std::vector<std::uint8_t>& v, std::uint32_t x) {
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
  };
  std::vector<std::uint8_t> v = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0};
  put32(v, 8);
  const unsigned ifd0_entries = orientation != 0 ? 2 : 1;
  const std::uint32_t exif_ifd = 8 + 2 + 12 * ifd0_entries + 4, text = exif_ifd + 2 + 12 + 4;
  put16(v, ifd0_entries);
  if (orientation != 0) put16(v, 0x0112), put16(v, 3), put32(v, 1), put32(v, orientation);
  put16(v, 0x8769), put16(v, 4), put32(v, 1), put32(v, exif_ifd);
  put32(v, 0);
  put16(v, 1);
  put16(v, 0x9003), put16(v, 2), put32(v, 20), put32(v, text);
  put32(v, 0);
  v.insert(v.end(), taken.begin(), taken.end());
  v.push_back(0);
  return v;
}

// Writes a baseline RGB JPEG of the given size (a gradient), with a capture time when `taken`
// is not empty, and then an Exif Orientation when `orientation` is not 0.
inline void write_test_photo(const fs::path& path, int width, int height, const std::string& taken,
                             int orientation = 0) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr) << path;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.write_JFIF_header = FALSE;
  jpeg_start_compress(&cinfo, TRUE);
  if (!taken.empty()) {
    std::vector<std::uint8_t> exif = exif_with_capture_time(taken, orientation);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 1, exif.data(), static_cast<unsigned>(exif.size()));
  }
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      row[static_cast<std::size_t>(x) * 3] = static_cast<JSAMPLE>(x * 255 / width);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<JSAMPLE>(y * 255 / height);
      row[static_cast<std::size_t>(x) * 3 + 2] = 128;
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::fclose(file);
}

}  // namespace tolvane::testing
