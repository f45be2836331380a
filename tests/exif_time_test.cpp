// Exif capture times: the camera photos of the corpus, generated Exif layouts, malformed files,
// and the ordering of photos by time.
#include "photos/exif_time.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/c_number.h"

namespace tolvane {
namespace {
namespace fs = std::filesystem;

struct Time {
  int year, month, day, hour, minute, second;
  bool operator==(const Time&) const = default;
};

Time time_of(const TrackPoint& p) { return {p.year, p.month, p.day, p.hour, p.minute, p.second}; }

constexpr Time kZero{0, 0, 0, 0, 0, 0};

// What a generated photo holds; every directory and text lies after the TIFF header.
struct ExifLayout {
  bool little_endian = true;
  bool app0_first = false;
  std::optional<std::string> date_time;             // IFD0 DateTime
  std::optional<std::string> date_time_original;    // Exif directory, with its pointer in IFD0
  std::size_t leading_bytes = 0;                    // other data between SOI and the Exif APP1
  std::optional<unsigned> orientation;              // IFD0 Orientation, a SHORT
  std::optional<std::string> offset_time;           // Exif directory OffsetTime
  std::optional<std::string> offset_time_original;  // Exif directory OffsetTimeOriginal
};

// A generated photo and where its fields are, as file offsets, for tests that damage them.
struct ExifFile {
  std::string bytes;
  std::size_t base = 0;
  std::size_t ifd0_count = 0;
  std::size_t date_time_value = 0;
  std::size_t exif_pointer_value = 0;
  std::size_t exif_count = 0;
  std::size_t date_time_original_value = 0;
  std::size_t date_text_end = 0;  // just after the text that the reader takes
};

class TiffWriter {
 public:
  explicit TiffWriter(bool little_endian) : little_(little_endian) {}
  std::string data;
  void u16(unsigned v) {
    if (little_) {
      data += char(v & 0xFF), data += char(v >> 8 & 0xFF);
    } else {
      data += char(v >> 8 & 0xFF), data += char(v & 0xFF);
    }
  }
  void u32(std::uint32_t v) {
    if (little_) {
      u16(v & 0xFFFF), u16(v >> 16);
    } else {
      u16(v >> 16), u16(v & 0xFFFF);
    }
  }
  void entry(unsigned tag, unsigned type, std::uint32_t count, std::uint32_t value) {
    u16(tag), u16(type), u32(count), u32(value);
  }
  void patch_u32(std::size_t at, std::uint32_t v) {
    std::string saved = data.substr(at + 4);
    data.resize(at);
    u32(v);
    data += saved;
  }

 private:
  bool little_;
};

ExifFile make_exif_file(const ExifLayout& layout) {
  ExifFile file;
  TiffWriter tiff(layout.little_endian);
  tiff.data = layout.little_endian ? std::string("II*\0", 4) : std::string("MM\0*", 4);
  tiff.u32(8);
  const bool has_exif = layout.date_time_original.has_value();
  const unsigned ifd0_entries =
      1 + (layout.orientation ? 1 : 0) + (layout.date_time ? 1 : 0) + (has_exif ? 1 : 0);
  std::size_t ifd0_count = tiff.data.size();
  tiff.u16(ifd0_entries);
  tiff.entry(0x010F, 2, 4, 0x006D6143);  // Make "Cam", inline
  if (layout.orientation) {
    tiff.u16(0x0112), tiff.u16(3), tiff.u32(1), tiff.u16(*layout.orientation), tiff.u16(0);
  }
  std::size_t date_time_value = 0;
  std::size_t exif_pointer_value = 0;
  if (layout.date_time) {
    date_time_value = tiff.data.size() + 8;
    tiff.entry(0x0132, 2, 20, 0);
  }
  if (has_exif) {
    exif_pointer_value = tiff.data.size() + 8;
    tiff.entry(0x8769, 4, 1, 0);
  }
  tiff.u32(0);
  std::size_t exif_count = 0;
  std::size_t date_time_original_value = 0;
  std::size_t digitized_value = 0;
  std::size_t offset_time_value = 0;
  std::size_t offset_time_original_value = 0;
  if (has_exif) {
    tiff.patch_u32(exif_pointer_value, static_cast<std::uint32_t>(tiff.data.size()));
    exif_count = tiff.data.size();
    tiff.u16(3 + (layout.offset_time ? 1 : 0) + (layout.offset_time_original ? 1 : 0));
    tiff.entry(0x829A, 5, 1, 0);
    digitized_value = tiff.data.size() + 8;
    tiff.entry(0x9004, 2, 20, 0);  // DateTimeDigitized comes first and is not taken
    date_time_original_value = tiff.data.size() + 8;
    tiff.entry(0x9003, 2, 20, 0);
    if (layout.offset_time) {
      offset_time_value = tiff.data.size() + 8;
      tiff.entry(0x9010, 2, 7, 0);
    }
    if (layout.offset_time_original) {
      offset_time_original_value = tiff.data.size() + 8;
      tiff.entry(0x9011, 2, 7, 0);
    }
    tiff.u32(0);
  }
  std::size_t text_end = 0;
  auto add_text = [&](std::size_t value_at, const std::string& text) {
    tiff.patch_u32(value_at, static_cast<std::uint32_t>(tiff.data.size()));
    tiff.data += text;
    tiff.data += '\0';
    return tiff.data.size() - 1 - text.size() + 19;
  };
  if (layout.date_time) text_end = add_text(date_time_value, *layout.date_time);
  if (has_exif) {
    add_text(digitized_value, "1999:09:09 09:09:09");
    text_end = add_text(date_time_original_value, *layout.date_time_original);
    if (layout.offset_time) add_text(offset_time_value, *layout.offset_time);
    if (layout.offset_time_original) {
      add_text(offset_time_original_value, *layout.offset_time_original);
    }
  }

  std::string& out = file.bytes;
  out = "\xFF\xD8";
  if (layout.app0_first) {
    out += std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
  }
  if (layout.leading_bytes > 0) {
    out += std::string("\xFF\xFE", 2);
    for (std::size_t i = 0; i < layout.leading_bytes; ++i) out += char('a' + i % 26);
  }
  std::size_t segment = 2 + 6 + tiff.data.size();
  out += "\xFF\xE1";
  out += char(segment >> 8 & 0xFF);
  out += char(segment & 0xFF);
  out += std::string("Exif\0\0", 6);
  file.base = out.size();
  out += tiff.data;
  out += "\xFF\xD9";
  file.ifd0_count = file.base + ifd0_count;
  file.date_time_value = date_time_value ? file.base + date_time_value : 0;
  file.exif_pointer_value = exif_pointer_value ? file.base + exif_pointer_value : 0;
  file.exif_count = exif_count ? file.base + exif_count : 0;
  file.date_time_original_value =
      date_time_original_value ? file.base + date_time_original_value : 0;
  file.date_text_end = file.base + text_end;
  return file;
}

void put_u32(std::string& bytes, std::size_t at, std::uint32_t v, bool little_endian) {
  for (int i = 0; i < 4; ++i) {
    int shift = little_endian ? 8 * i : 24 - 8 * i;
    bytes[at + i] = char(v >> shift & 0xFF);
  }
}

void put_u16(std::string& bytes, std::size_t at, unsigned v, bool little_endian) {
  bytes[at + (little_endian ? 0 : 1)] = char(v & 0xFF);
  bytes[at + (little_endian ? 1 : 0)] = char(v >> 8 & 0xFF);
}

class ExifTime : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tolvane_exif_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path write(const std::string& name, const std::string& bytes) {
    fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  // The reader's status and time for these bytes, from a file and from a stream alike.
  std::pair<int, Time> read(const std::string& bytes) {
    const PhotoExif exif = read_photo_exif(write("photo.jpg", bytes));
    std::FILE* stream = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::rewind(stream);
    const PhotoExif from_stream = read_photo_exif(stream);
    std::fclose(stream);
    EXPECT_EQ(from_stream.status, exif.status);
    EXPECT_EQ(time_of(from_stream.time), time_of(exif.time));
    return {exif.status, time_of(exif.time)};
  }

  fs::path folder_;
};

const Time kOriginal{2008, 1, 5, 10, 23, 45};

TEST_F(ExifTime, ReadsTheCaptureTimeOfEitherByteOrderBehindAnyHeader) {
  for (bool little : {true, false}) {
    for (bool app0 : {false, true}) {
      ExifLayout layout;
      layout.little_endian = little;
      layout.app0_first = app0;
      layout.date_time = "2009:07:05 23:58:52";
      layout.date_time_original = "2008:01:05 10:23:45";
      EXPECT_EQ(read(make_exif_file(layout).bytes), std::make_pair(0, kOriginal))
          << "little-endian " << little << ", APP0 first " << app0;
    }
  }
  ExifLayout deep;
  deep.date_time_original = "2008:01:05 10:23:45";
  deep.leading_bytes = 200000;
  EXPECT_EQ(read(make_exif_file(deep).bytes), std::make_pair(0, kOriginal));
}

TEST_F(ExifTime, FindsHeadersAndTextsAcrossTheReadBuffersEdges) {
  // The reader buffers 64 KiB at a time: put the signature, and the texts the reader seeks back
  // to, on every side of that edge.
  for (std::size_t lead = 65536 - 40; lead < 65536 + 8; ++lead) {
    ExifLayout layout;
    layout.little_endian = lead % 2 == 0;
    layout.date_time = "2009:07:05 23:58:52";
    layout.date_time_original = "2008:01:05 10:23:45";
    layout.leading_bytes = lead;
    ASSERT_EQ(read(make_exif_file(layout).bytes), std::make_pair(0, kOriginal)) << lead;
  }
}

TEST_F(ExifTime, TakesDateTimeWhenThereIsNoOriginal) {
  ExifLayout layout;
  layout.little_endian = false;
  layout.date_time = "2023:02:08 12:24:35";
  EXPECT_EQ(read(make_exif_file(layout).bytes), std::make_pair(0, Time{2023, 2, 8, 12, 24, 35}));
}

TEST_F(ExifTime, ReadsTheTextByPositionWhateverItsSeparators) {
  ExifLayout layout;
  layout.date_time_original = "2008-01-05T10.23.45";
  EXPECT_EQ(read(make_exif_file(layout).bytes), std::make_pair(0, kOriginal));
  layout.date_time_original = "    :  :     :  :  ";
  EXPECT_EQ(read(make_exif_file(layout).bytes), std::make_pair(0, kZero));
}

TEST_F(ExifTime, RepeatedTagsTakeTheLastInIfd0AndTheFirstInTheExifDirectory) {
  ExifLayout layout;
  layout.date_time = "2009:07:05 23:58:52";
  ExifFile file = make_exif_file(layout);
  // Turn the Make entry into a second DateTime placed before the real one: the real one wins.
  put_u16(file.bytes, file.ifd0_count + 2, 0x0132, true);
  EXPECT_EQ(read(file.bytes).second, (Time{2009, 7, 5, 23, 58, 52}));

  layout.date_time_original = "2008:01:05 10:23:45";
  file = make_exif_file(layout);
  // DateTimeDigitized turned into a first DateTimeOriginal: it is taken.
  put_u16(file.bytes, file.date_time_original_value - 8 - 12, 0x9003, true);
  EXPECT_EQ(read(file.bytes).second, (Time{1999, 9, 9, 9, 9, 9}));
}

TEST_F(ExifTime, FilesWithoutExifGiveMinusOneAndTheZeroTime) {
  EXPECT_EQ(read(""), std::make_pair(-1, kZero));
  EXPECT_EQ(read("\xFF\xD8\xFF\xE0\x00\x10JFIF"), std::make_pair(-1, kZero));
  EXPECT_EQ(read("$GPRMC,102345,A,3540.1234,N,13945.6789,E,0.0,0.0,050108,,*00\r\n"),
            std::make_pair(-1, kZero));
  // "Exif\0\0" behind an APP1 marker at offset 0 is too early: the scan starts at offset 2.
  EXPECT_EQ(read(std::string("\xFF\xE1\x00\x10"
                             "Exif\0\0II*\0\x08\0\0\0",
                             18)),
            std::make_pair(-1, kZero));
  const PhotoExif missing = read_photo_exif(folder_ / "missing.jpg");
  EXPECT_EQ(missing.status, -1);
  EXPECT_EQ(time_of(missing.time), kZero);
  EXPECT_EQ(read_photo_exif(static_cast<std::FILE*>(nullptr)).status, -1);
}

TEST_F(ExifTime, LooksFurtherForTheFirstDirectoryOffsetOfEight) {
  ExifLayout layout;
  layout.date_time = "2009:07:05 23:58:52";
  ExifFile file = make_exif_file(layout);
  // An IFD0 offset of 10 is not taken; the scan goes on byte by byte, and with no four bytes
  // reading 8 anywhere after it the file has no time.
  std::string no_eight = file.bytes;
  put_u32(no_eight, file.base + 4, 10, true);
  for (std::size_t i = file.base + 8; i < no_eight.size(); ++i) {
    if (no_eight[i] == 8) no_eight[i] = 9;
  }
  EXPECT_EQ(read(no_eight), std::make_pair(-1, kZero));
  // Two bytes inserted before a later 08 00 00 00: IFD0 is read after those four bytes.
  std::string shifted = file.bytes.substr(0, file.base + 4) +
                        std::string("\x0C\0\0\0\x08\0\0\0", 8) + file.bytes.substr(file.base + 8);
  // Offsets are relative to the TIFF header, so the text moved by 4 bytes: dropping the unread
  // next-directory offset at the end of IFD0 (two entries) moves it back.
  shifted.erase(file.base + 12 + 2 + 2 * 12, 4);
  EXPECT_EQ(read(shifted), std::make_pair(0, (Time{2009, 7, 5, 23, 58, 52})));
}

TEST_F(ExifTime, MalformedDirectoriesGiveMinusOneAndTheZeroTime) {
  ExifLayout layout;
  layout.date_time = "2009:07:05 23:58:52";
  layout.date_time_original = "2008:01:05 10:23:45";
  const ExifFile file = make_exif_file(layout);
  auto damaged = [&](auto change) {
    std::string bytes = file.bytes;
    change(bytes);
    return read(bytes);
  };
  const auto failed = std::make_pair(-1, kZero);
  EXPECT_EQ(damaged([&](std::string& b) { put_u16(b, file.ifd0_count, 0, true); }), failed);
  EXPECT_EQ(damaged([&](std::string& b) { put_u16(b, file.ifd0_count, 0xFFFF, true); }), failed);
  // A huge Exif entry count: the search stops at DateTimeOriginal, or fails at the file's end.
  EXPECT_EQ(damaged([&](std::string& b) { put_u16(b, file.exif_count, 0xFFFF, true); }).second,
            kOriginal);
  EXPECT_EQ(damaged([&](std::string& b) {
              put_u16(b, file.exif_count, 0xFFFF, true);
              put_u16(b, file.date_time_original_value - 8, 0x9999, true);
            }),
            failed);
  for (std::uint32_t offset :
       {0x7FFFFFF0u, 100000u, static_cast<std::uint32_t>(file.bytes.size() - file.base)}) {
    EXPECT_EQ(damaged([&](std::string& b) { put_u32(b, file.exif_pointer_value, offset, true); }),
              failed);
    EXPECT_EQ(
        damaged([&](std::string& b) { put_u32(b, file.date_time_original_value, offset, true); }),
        failed);
  }
  // A date text that starts inside the file but is cut short by its end.
  EXPECT_EQ(damaged([&](std::string& b) {
              put_u32(b, file.date_time_original_value,
                      static_cast<std::uint32_t>(b.size() - file.base - 10), true);
            }),
            failed);
  // An Exif pointer that is negative as a signed number is not followed: DateTime is taken.
  EXPECT_EQ(
      damaged([&](std::string& b) { put_u32(b, file.exif_pointer_value, 0x80000010u, true); }),
      std::make_pair(0, (Time{2009, 7, 5, 23, 58, 52})));
}

TEST_F(ExifTime, EveryTruncationEndsCleanly) {
  ExifLayout layout;
  layout.date_time = "2009:07:05 23:58:52";
  layout.date_time_original = "2008:01:05 10:23:45";
  layout.offset_time_original = "+02:00";  // its text comes last, before "\0" and FF D9
  const ExifFile file = make_exif_file(layout);
  for (std::size_t length = 0; length < file.bytes.size(); ++length) {
    auto expected =
        length >= file.date_text_end ? std::make_pair(0, kOriginal) : std::make_pair(-1, kZero);
    ASSERT_EQ(read(file.bytes.substr(0, length)), expected) << length;
    // A file cut short after the time loses only the zone.
    const PhotoExif exif = read_photo_exif(write("cut.jpg", file.bytes.substr(0, length)));
    EXPECT_EQ(exif.zone_minutes.has_value(), length >= file.bytes.size() - 3) << length;
  }
}

std::string corpus_photos() {
  const char* corpus = std::getenv("TOLVANE_CORPUS");
  fs::path folder = corpus ? fs::path(corpus) : fs::path(TOLVANE_SOURCE_DIR "/../shared/corpus");
  folder /= "photos";
  return fs::exists(folder / "MANIFEST.tsv") ? folder.string() : std::string();
}

std::optional<Time> parse_exif_text(const std::string& text) {
  if (text == "-") return std::nullopt;
  auto number = [&](std::size_t at, std::size_t digits) {
    return c_atoi(text.substr(at, digits).c_str());
  };
  return Time{number(0, 4),  number(5, 2),  number(8, 2),
              number(11, 2), number(14, 2), number(17, 2)};
}

TEST(ExifTimeCorpus, ReadsWhatExiftoolReadsFromRealCameras) {
  std::string folder = corpus_photos();
  if (folder.empty()) GTEST_SKIP() << "photo corpus not found";
  std::ifstream manifest(folder + "/MANIFEST.tsv");
  std::string line;
  std::getline(manifest, line);
  std::vector<std::string> columns;
  {
    std::istringstream header(line);
    for (std::string c; std::getline(header, c, '\t');) columns.push_back(c);
  }
  auto column = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find(columns.begin(), columns.end(), name) -
                                    columns.begin());
  };
  const std::size_t original = column("DateTimeOriginal");
  const std::size_t ifd0 = column("DateTime_IFD0");
  ASSERT_LT(ifd0, columns.size());
  int photos = 0, with_time = 0;
  while (std::getline(manifest, line)) {
    std::vector<std::string> fields;
    std::istringstream row(line);
    for (std::string f; std::getline(row, f, '\t');) fields.push_back(f);
    if (fields.size() <= ifd0) continue;
    std::optional<Time> expected = parse_exif_text(fields[original]);
    if (!expected) expected = parse_exif_text(fields[ifd0]);
    const PhotoExif exif = read_photo_exif(fs::path(folder) / fields[0]);
    const int result = exif.status;
    const TrackPoint& point = exif.time;
    ++photos;
    if (expected) {
      ++with_time;
      EXPECT_EQ(result, 0) << fields[0];
      EXPECT_EQ(time_of(point), *expected) << fields[0];
    } else {
      EXPECT_EQ(result, -1) << fields[0];
      EXPECT_EQ(time_of(point), kZero) << fields[0];
    }
  }
  EXPECT_EQ(photos, 41);
  EXPECT_EQ(with_time, 34);
}

TEST_F(ExifTime, OrdersPhotosStablyWithUnreadableTimesFirst) {
  auto photo = [&](const std::string& name, const char* time) {
    ExifLayout layout;
    layout.date_time_original = time;
    return write(name, make_exif_file(layout).bytes);
  };
  fs::path late = photo("late.jpg", "2008:01:05 10:23:45");
  fs::path early = photo("early.jpg", "2008:01:05 09:00:00");
  fs::path same_a = photo("same_a.jpg", "2008:01:05 09:30:00");
  fs::path same_b = photo("same_b.jpg", "2008:01:05 09:30:00");
  fs::path next_year = photo("next_year.jpg", "2009:01:01 00:00:00");
  fs::path none = write("none.jpg", "no exif here");

  std::vector<fs::path> photos = {next_year, same_b, late, none, same_a, early};
  std::vector<PhotoCapture> times = sort_photos_by_capture_time(photos, 9.0f, 0);
  EXPECT_EQ(photos, (std::vector<fs::path>{none, early, same_b, same_a, late, next_year}));
  ASSERT_EQ(times.size(), 6u);
  EXPECT_EQ(time_of(times[0].time), kZero);
  EXPECT_EQ(time_of(times[1].time), (Time{2008, 1, 5, 9, 0, 0}));
  EXPECT_EQ(time_of(times[4].time), kOriginal);
  EXPECT_EQ(time_of(times[5].time), (Time{2009, 1, 1, 0, 0, 0}));

  // The camera clock's correction orders and shifts every readable time; an unreadable one
  // stays all zero and first.
  fs::path zoned = write("zoned.jpg", [] {
    ExifLayout layout;
    layout.date_time_original = "2008:01:05 09:10:00";
    layout.offset_time_original = "+00:00";  // nine hours before the track's zone
    return make_exif_file(layout).bytes;
  }());
  photos = {late, zoned, none, early};
  times = sort_photos_by_capture_time(photos, 9.0f, -3600);
  EXPECT_EQ(photos, (std::vector<fs::path>{none, early, late, zoned}));
  EXPECT_EQ(time_of(times[0].time), kZero);
  EXPECT_EQ(time_of(times[1].time), (Time{2008, 1, 5, 8, 0, 0}));
  EXPECT_EQ(time_of(times[2].time), (Time{2008, 1, 5, 9, 23, 45}));
  EXPECT_EQ(time_of(times[3].time), (Time{2008, 1, 5, 17, 10, 0}));
}

// The zone that goes with the time, and what the track's clock makes of it.
TEST_F(ExifTime, ZonesMoveTheTimeToTheTracksClock) {
  struct Case {
    const char* name;
    std::optional<std::string> date_time, original, offset_time, offset_time_original;
    float gmt;
    std::int32_t correction;
    std::optional<int> zone;
    Time expected;
  };
  const Case cases[] = {
      {"original zone",
       {},
       "2008:01:05 10:00:00",
       {},
       "+02:00",
       9.0f,
       0,
       120,
       Time{2008, 1, 5, 17, 0, 0}},
      {"west of UTC, fraction of the GMT rounded",
       {},
       "2008:01:05 23:30:00",
       {},
       "-05:30",
       5.75f,
       0,
       -330,
       Time{2008, 1, 6, 10, 45, 0}},
      {"its zone and GMT alike",
       {},
       "2008:01:05 10:00:00",
       {},
       "+09:00",
       9.0f,
       0,
       540,
       Time{2008, 1, 5, 10, 0, 0}},
      {"OffsetTime belongs to DateTime",
       {},
       "2008:01:05 10:00:00",
       "+02:00",
       {},
       9.0f,
       0,
       {},
       Time{2008, 1, 5, 10, 0, 0}},
      {"correction only",
       {},
       "2008:12:31 23:59:00",
       {},
       {},
       9.0f,
       120,
       {},
       Time{2009, 1, 1, 0, 1, 0}},
      {"zone then correction",
       {},
       "2008:03:01 01:00:00",
       {},
       "+10:00",
       9.0f,
       -60,
       600,
       Time{2008, 2, 29, 23, 59, 0}},
      {"hours past 23",
       {},
       "2008:01:05 10:00:00",
       {},
       "+24:00",
       9.0f,
       0,
       {},
       Time{2008, 1, 5, 10, 0, 0}},
      {"no colon", {}, "2008:01:05 10:00:00", {}, "+0200", 9.0f, 0, {}, Time{2008, 1, 5, 10, 0, 0}},
      {"minutes past 59",
       {},
       "2008:01:05 10:00:00",
       {},
       "-01:60",
       9.0f,
       0,
       {},
       Time{2008, 1, 5, 10, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExifLayout layout;
    layout.date_time = c.date_time;
    layout.date_time_original = c.original;
    layout.offset_time = c.offset_time;
    layout.offset_time_original = c.offset_time_original;
    for (bool little : {true, false}) {
      layout.little_endian = little;
      const PhotoExif exif = read_photo_exif(write("zone.jpg", make_exif_file(layout).bytes));
      ASSERT_EQ(exif.status, 0);
      EXPECT_EQ(exif.zone_minutes, c.zone);
      EXPECT_EQ(time_of(track_clock_time(exif, c.gmt, c.correction)), c.expected);
    }
  }
  // An unreadable time is not shifted.
  const PhotoExif none = read_photo_exif(write("none.jpg", "no exif here"));
  EXPECT_EQ(none.status, -1);
  EXPECT_EQ(time_of(track_clock_time(none, 9.0f, 3600)), kZero);
}

TEST_F(ExifTime, OrientationOfTheFirstDirectory) {
  for (bool little : {true, false}) {
    ExifLayout layout;
    layout.little_endian = little;
    layout.date_time = "2008:01:05 10:00:00";
    EXPECT_EQ(read_photo_exif(write("o.jpg", make_exif_file(layout).bytes)).orientation, 1);
    for (unsigned value : {1u, 2u, 6u, 8u}) {
      layout.orientation = value;
      EXPECT_EQ(read_photo_exif(write("o.jpg", make_exif_file(layout).bytes)).orientation,
                static_cast<int>(value));
    }
    for (unsigned value : {0u, 9u, 0x600u}) {
      layout.orientation = value;
      EXPECT_EQ(read_photo_exif(write("o.jpg", make_exif_file(layout).bytes)).orientation, 1);
    }
  }
}

// The real cases of a zone and of turned photos.
TEST(ExifTimeCorpus, ZoneAndOrientationOfRealPhotos) {
  const std::string folder = corpus_photos();
  if (folder.empty()) GTEST_SKIP() << "photo corpus not found";
  const PhotoExif google = read_photo_exif(fs::path(folder) / "Google.jpg");
  ASSERT_EQ(google.status, 0);
  EXPECT_EQ(google.zone_minutes, 120);
  // 22:53:51 at +02:00 is 20:53:51 UTC, 05:53:51 the next day at the default GMT of 9.
  EXPECT_EQ(time_of(track_clock_time(google, 9.0f, 0)), (Time{2023, 10, 7, 5, 53, 51}));
  EXPECT_EQ(read_photo_exif(fs::path(folder) / "MWG.jpg").orientation, 6);
  EXPECT_EQ(read_photo_exif(fs::path(folder) / "Pentax.jpg").orientation, 8);
}

}  // namespace
}  // namespace tolvane
