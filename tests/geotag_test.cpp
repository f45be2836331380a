// tolvane-convert --geotag as a user runs it: the listing and counts of a dry run, what a real
// run keeps of each photo (bytes outside the Exif segment, permissions, modification time, one
// backup that is never overwritten), and a damaged photo named and left alone.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "photos/exif_gps.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace tolvane;
using namespace tolvane::testing;

const fs::path kConverter = fs::path(TOLVANE_BINARY_DIR) / "tolvane-convert";

std::vector<std::uint8_t> bytes_of(const fs::path& path) {
  const std::string text = read_file(path);
  return {text.begin(), text.end()};
}

bool holds_position(const fs::path& path) {
  return replace_gps(bytes_of(path), nullptr, false).had_position;
}

class Geotag : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("geotag_test_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    // Ten fixes a minute apart from 01:10 UTC on 3 May 2008, heading north-east from Tokyo.
    std::vector<Fix> fixes;
    for (int i = 0; i < 10; ++i) {
      fixes.push_back(
          {11000 + i * 100, 30508, 35.65 + 0.001 * i, 139.75 + 0.001 * i, 5, 45, 12.5 + i});
    }
    write_file(folder_ / "drive.log", nmea_text(fixes));
  }
  void TearDown() override { fs::remove_all(folder_); }

  Outcome run(const std::string& arguments) {
    const fs::path out = folder_ / "stdout.txt";
    const fs::path err = folder_ / "stderr.txt";
    return run_shell(quoted(kConverter.string()) + " --settings " +
                         quoted((folder_ / "none.ini").string()) + " " + arguments + " " +
                         quoted((folder_ / "drive.log").string()),
                     out, err);
  }
  // A photo taken at `taken`, Japanese time (Common.GMT 9 by default).
  fs::path photo(const std::string& name, const std::string& taken) {
    const fs::path path = folder_ / name;
    write_test_photo(path, 40, 30, taken);
    return path;
  }

  fs::path folder_;
};

TEST_F(Geotag, ADryRunListsEveryPhotoCountsEachKindAndWritesNothing) {
  const fs::path inside = photo("inside.jpg", "2008:05:03 10:12:30");
  const fs::path late = photo("late.jpg", "2008:05:03 13:22:00");
  const fs::path tagged = photo("tagged.jpg", "2008:05:03 10:15:00");
  ASSERT_EQ(run("-q --geotag " + tagged.string()).status, 0);
  const std::vector<std::uint8_t> tagged_bytes = bytes_of(tagged);
  const std::vector<std::uint8_t> inside_bytes = bytes_of(inside);

  const Outcome o =
      run("-q --geotag --dry-run " + inside.string() + " " + late.string() + " " + tagged.string());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out,
            "inside.jpg\t2008-05-03 10:12:30\t2008-05-03 01:12:30Z\t35.6525000\t139.7525000\t15.00"
            "\tinterpolated 60 s\n"
            "late.jpg\t2008-05-03 13:22:00\t2008-05-03 04:22:00Z\t\t\t\toutside the track "
            "(3 h 03 min after its end)\n"
            "tagged.jpg\t2008-05-03 10:15:00\t2008-05-03 01:15:00Z\t35.6550000\t139.7550000\t17.50"
            "\thas a position\n");
  EXPECT_EQ(o.err, "位置を書き込みました: 1 枚 (位置あり 1 枚, 航跡の外 1 枚, 失敗 0 枚)\n");
  EXPECT_EQ(bytes_of(inside), inside_bytes);
  EXPECT_EQ(bytes_of(tagged), tagged_bytes);
}

TEST_F(Geotag, ARunKeepsTheRestOfEachPhotoItsModeAndTimeAndOneBackup) {
  const fs::path a = photo("a.jpg", "2008:05:03 10:12:30");
  ASSERT_EQ(::chmod(a.c_str(), 0640), 0);
  const struct timespec old_times[2] = {{1200000000, 0}, {1200000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, a.c_str(), old_times, 0), 0);
  const std::vector<std::uint8_t> before = bytes_of(a);

  Outcome o = run("--geotag --backup " + a.string());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(holds_position(a));
  EXPECT_EQ(bytes_of(fs::path(a.string() + "_original")), before);
  struct stat info {};
  ASSERT_EQ(::stat(a.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(info.st_mtim.tv_sec, 1200000000);
  // The image data after the Exif segment is the same bytes: the old file's tail.
  const std::vector<std::uint8_t> after = bytes_of(a);
  const std::size_t exif_end = 4 + (before[4] << 8 | before[5]);
  const std::size_t tail = before.size() - exif_end;
  ASSERT_GT(after.size(), before.size());
  EXPECT_TRUE(std::equal(before.end() - static_cast<std::ptrdiff_t>(tail), before.end(),
                         after.end() - static_cast<std::ptrdiff_t>(tail)));
  // Tagged anew, the backup stays the first original; nothing else is left in the folder.
  o = run("--geotag --backup --overwrite-gps " + a.string());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(bytes_of(fs::path(a.string() + "_original")), before);
  for (const auto& entry : fs::directory_iterator(folder_)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "a.jpg" || name == "a.jpg_original" || name == "drive.log" ||
                name == "stdout.txt" || name == "stderr.txt")
        << name;
  }
}

TEST_F(Geotag, ADamagedPhotoIsNamedAndLeftAloneWhileTheOthersGoOn) {
  const fs::path good = photo("good.jpg", "2008:05:03 10:12:30");
  const fs::path cut = photo("cut.jpg", "2008:05:03 10:13:30");
  std::vector<std::uint8_t> cut_bytes = bytes_of(cut);
  cut_bytes.resize(cut_bytes.size() / 8);  // the Exif segment is there, the image is not
  write_file(cut, std::string(cut_bytes.begin(), cut_bytes.end()));
  const Outcome o = run("--geotag " + cut.string() + " " + good.string());
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("Tolvane: 写真に位置を書き込めません: " + cut.string()), std::string::npos)
      << o.err;
  EXPECT_TRUE(
      o.err.ends_with("位置を書き込みました: 1 枚 (位置あり 0 枚, 航跡の外 0 枚, 失敗 1 枚)\n"))
      << o.err;
  EXPECT_EQ(bytes_of(cut), cut_bytes);
  EXPECT_TRUE(holds_position(good));
}

TEST(ExifGps, APhotoWithoutExifGetsItsSegmentAfterTheJfifOneAndNothingElseChanges) {
  // SOI, a JFIF APP0, a comment, and the image data with its end.
  const std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x07, 'J', 'F', 'I',
                                          'F',  0x00, 0xFF, 0xFE, 0x00, 0x04, 'h', 'i', 0xFF,
                                          0xDA, 0x00, 0x02, 0x12, 0x34, 0xFF, 0xD9};
  GpsPosition position;
  position.latitude = -33.4372;
  position.longitude = -70.6506;
  position.altitude = -12.25;
  position.utc_seconds = 1710079200;
  const ExifGpsResult result = replace_gps(jpeg, &position, false);
  ASSERT_EQ(result.problem, ExifGpsProblem::kNone);
  const std::vector<std::uint8_t>& out = result.photo;
  ASSERT_GT(out.size(), jpeg.size() + 10);
  EXPECT_TRUE(std::equal(jpeg.begin(), jpeg.begin() + 11, out.begin()));
  EXPECT_EQ(out[11], 0xFF);
  EXPECT_EQ(out[12], 0xE1);
  EXPECT_TRUE(
      std::equal(jpeg.begin() + 11, jpeg.end(), out.end() - (jpeg.end() - jpeg.begin() - 11)));
  EXPECT_TRUE(replace_gps(out, nullptr, false).had_position);
  // Not a JPEG, and a JPEG cut inside its segments: nothing is written.
  EXPECT_EQ(replace_gps(std::vector<std::uint8_t>{'G', 'I', 'F'}, &position, true).problem,
            ExifGpsProblem::kNotJpeg);
  EXPECT_EQ(replace_gps(std::vector<std::uint8_t>(jpeg.begin(), jpeg.begin() + 14), &position, true)
                .problem,
            ExifGpsProblem::kNotJpeg);
}

}  // namespace
