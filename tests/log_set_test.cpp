// The log set pre-pass: extents, the order by start time and the checks of the whole set.
#include "core/log_set.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/run_contracts.h"
#include "core/run_messages.h"
#include "core/text_format.h"

namespace tolvane {
namespace {
namespace fs = std::filesystem;

class RecordingView final : public ProgressView {
 public:
  void set_status_text(std::string_view) override {}
  void set_progress(int) override {}
  void show_error(std::string_view message) override { errors.emplace_back(message); }
  std::vector<std::string> errors;
};

// One point at hh:mm:ss on 7 January 2008 (or `date`), at the given raw position.
std::string pair(int hhmmss, const char* latitude = "3540.1234,N",
                 const char* longitude = "13945.6789,E", const char* date = "070108") {
  const std::string time = format_text("%06d", hhmmss);
  return "$GPGGA," + time + "," + latitude + "," + longitude + ",1,08,0.9,10.0,M,,M,,*47\r\n" +
         "$GPRMC," + time + ",A," + latitude + "," + longitude + ",1.0,90.0," + date +
         ",,,A*6A\r\n";
}

class LogSet : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tolvane-log-set-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path log(const std::string& name, const std::string& content) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }
  fs::path missing(const std::string& name) const { return dir_ / name; }

  fs::path dir_;
};

TEST_F(LogSet, ReadsTheExtentOfOneLog) {
  LogExtent extent;
  EXPECT_EQ(read_log_extent(missing("none.log"), extent), -2);
  EXPECT_EQ(read_log_extent(log("empty.log", ""), extent), -1);
  EXPECT_EQ(read_log_extent(log("rmc-only.log", "$GPRMC,1,A,1,N,1,E,,,070108,\r\n"), extent), -1);

  const fs::path path = log("trip.log", pair(100000, "3540.0000,N", "13940.0000,E") +
                                            pair(100001, "3530.0000,N", "13950.0000,E") +
                                            pair(100002, "3550.0000,N", "13930.0000,E") +
                                            pair(100003, "3545.0000,N", "13945.0000,E") +
                                            "$GPGGA,100004,,,,,0,00,,777.0,M,,M,,*47\r\n");
  ASSERT_EQ(read_log_extent(path, extent), 0);
  EXPECT_EQ(extent.first.utc_hhmmss, 100000);
  EXPECT_EQ(extent.last.utc_hhmmss, 100003);
  EXPECT_FLOAT_EQ(extent.min_latitude, 35.5f);
  EXPECT_FLOAT_EQ(extent.max_latitude, 35.0f + 50.0f / 60.0f);
  EXPECT_FLOAT_EQ(extent.min_longitude, 139.5f);
  EXPECT_FLOAT_EQ(extent.max_longitude, 139.0f + 50.0f / 60.0f);
  // The trailing $GPGGA was read into `last` before the log ended.
  EXPECT_EQ(extent.last.altitude, 777.0f);
  EXPECT_EQ(extent.first.altitude, 10.0f);

  // The box of a log in the southern and western hemispheres.
  ASSERT_EQ(read_log_extent(log("south.log", pair(1, "3300.0000,S", "07000.0000,W") +
                                                 pair(2, "3400.0000,S", "07100.0000,W")),
                            extent),
            0);
  EXPECT_FLOAT_EQ(extent.min_latitude, -34.0f);
  EXPECT_FLOAT_EQ(extent.max_latitude, -33.0f);
  EXPECT_FLOAT_EQ(extent.min_longitude, -71.0f);
  EXPECT_FLOAT_EQ(extent.max_longitude, -70.0f);
}

TEST_F(LogSet, SortsByStartWithUnreadableLogsFirstInListOrder) {
  const fs::path b = log("b.log", pair(110000));
  const fs::path a = log("a.log", pair(100000));
  const fs::path c_same_as_a = log("c.log", pair(100000) + pair(100500));
  const fs::path next_day = log("d.log", pair(90000, "3540.1234,N", "13945.6789,E", "080108"));
  const fs::path empty = log("empty.log", "no sentences here\r\n");
  const fs::path gone = missing("gone.log");
  std::vector<fs::path> paths = {b, next_day, empty, a, gone, c_same_as_a};
  sort_logs_by_start(paths);
  EXPECT_EQ(paths, (std::vector<fs::path>{empty, gone, a, c_same_as_a, b, next_day}));

  std::vector<fs::path> one = {b};
  sort_logs_by_start(one);
  EXPECT_EQ(one, std::vector<fs::path>{b});
  std::vector<fs::path> none;
  sort_logs_by_start(none);
  EXPECT_TRUE(none.empty());
}

TEST_F(LogSet, GpxTracksAndNmeaLogsMixInOneSet) {
  // 09:59:58 to 09:59:59 UTC on 7 January 2008, then the NMEA log from 10:00:00.
  const fs::path track =
      log("phone.GPX",
          "<gpx><trk><trkseg>"
          "<trkpt lat=\"35.5\" lon=\"139.5\"><time>2008-01-07T18:59:58+09:00</time></trkpt>"
          "<trkpt lat=\"35.6\" lon=\"139.4\"><time>2008-01-07T09:59:59Z</time></trkpt>"
          "</trkseg></trk></gpx>");
  const fs::path nmea = log("logger.log", pair(100000) + pair(100001));
  const fs::path wpt_only = log("marks.gpx", "<gpx><wpt lat=\"1\" lon=\"1\"/></gpx>");
  std::vector<fs::path> paths = {nmea, track};
  sort_logs_by_start(paths);
  EXPECT_EQ(paths, (std::vector<fs::path>{track, nmea}));

  RecordingView view;
  LogExtent set;
  ASSERT_EQ(prepare_log_set(paths, true, view, set), kRunSucceeded);
  EXPECT_EQ(set.first.hour * 10000 + set.first.minute * 100 + set.first.second, 95958);
  EXPECT_EQ(set.last.utc_hhmmss, 100001);
  EXPECT_FLOAT_EQ(set.min_latitude, 35.5f);
  EXPECT_FLOAT_EQ(set.min_longitude, 139.4f);

  paths.push_back(wpt_only);
  EXPECT_EQ(prepare_log_set(paths, true, view, set), kRunFailed);
  EXPECT_EQ(view.errors, std::vector<std::string>{std::string(messages::kUnsupportedInput)});
}

TEST_F(LogSet, ASingleLogIsTheWholeSet) {
  RecordingView view;
  LogExtent set;
  const fs::path only = log("only.log", pair(100000, "3540.0000,N") + pair(100100, "3550.0000,N"));
  EXPECT_EQ(prepare_log_set({only}, true, view, set), 0);
  EXPECT_TRUE(view.errors.empty());
  EXPECT_EQ(set.first.utc_hhmmss, 100000);
  EXPECT_EQ(set.last.utc_hhmmss, 100100);
  EXPECT_FLOAT_EQ(set.min_latitude, 35.0f + 40.0f / 60.0f);
  EXPECT_FLOAT_EQ(set.max_latitude, 35.0f + 50.0f / 60.0f);
}

TEST_F(LogSet, JoinsLogsThatDoNotOverlap) {
  const fs::path a = log("a.log", pair(90000, "3540.0000,N", "13940.0000,E") +
                                      pair(100000, "3541.0000,N", "13941.0000,E"));
  const fs::path b_at_end = log("b.log", pair(100000, "3530.0000,N", "13950.0000,E") +
                                             pair(110000, "3531.0000,N", "13951.0000,E"));
  const fs::path b_before_end = log("b2.log", pair(95959) + pair(120000));
  {
    RecordingView view;
    LogExtent set;
    ASSERT_EQ(prepare_log_set({a, b_at_end}, true, view, set), 0);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(set.first.utc_hhmmss, 90000);
    EXPECT_EQ(set.last.utc_hhmmss, 110000);
    EXPECT_EQ(set.last.raw_latitude_int, 3531);
    EXPECT_FLOAT_EQ(set.min_latitude, 35.5f);
    EXPECT_FLOAT_EQ(set.max_latitude, 35.0f + 41.0f / 60.0f);
    EXPECT_FLOAT_EQ(set.min_longitude, 139.0f + 40.0f / 60.0f);
    EXPECT_FLOAT_EQ(set.max_longitude, 139.0f + 51.0f / 60.0f);
  }
  {
    RecordingView view;
    LogExtent set;
    EXPECT_EQ(prepare_log_set({a, b_before_end}, true, view, set), 255);
    EXPECT_EQ(view.errors, std::vector<std::string>{messages::kLogsOverlap});
  }
  {
    RecordingView view;
    LogExtent set;
    EXPECT_EQ(prepare_log_set({a, b_before_end}, false, view, set), 0);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(set.last.utc_hhmmss, 120000);
  }
}

TEST_F(LogSet, ReportsTheFirstBadLogWithItsMessage) {
  const fs::path good = log("good.log", pair(100000));
  const fs::path later = log("later.log", pair(110000));
  const fs::path no_points = log("binary.log", std::string("\x00\x01\xFF\xFE GPGGA\n", 11));
  const fs::path gone = missing("gone.log");
  struct Case {
    std::vector<fs::path> logs;
    const char* message;
  };
  const Case cases[] = {{{good, no_points, later}, messages::kUnsupportedInput},
                        {{no_points, good}, messages::kUnsupportedInput},
                        {{good, gone}, messages::kCannotOpenInput},
                        {{gone, no_points}, messages::kCannotOpenInput},
                        {{}, messages::kUnsupportedInput}};
  for (const Case& c : cases) {
    RecordingView view;
    LogExtent set;
    EXPECT_EQ(prepare_log_set(c.logs, true, view, set), 255);
    EXPECT_EQ(view.errors, std::vector<std::string>{c.message});
  }
}

TEST_F(LogSet, AStopEndsTheReadingOfALogWithoutAFixSilently) {
  // Logs that yield no point are read to their end; a stop ends that without the message of a
  // log that yields none.
  std::string gga_only;
  for (int i = 0; i < 2000; ++i) gga_only += "$GPGGA,120000,,,,,0,00,,,M,,M,,*66\r\n";
  const fs::path nmea = log("no-fix.log", gga_only);
  const fs::path gpx =
      log("no-fix.gpx", "<gpx><trk><trkseg>" + std::string(200000, ' ') + "</trkseg></trk></gpx>");
  std::atomic<bool> stop{true};
  for (const fs::path& path : {nmea, gpx}) {
    LogExtent extent;
    EXPECT_EQ(read_log_extent(path, extent, &stop), -3) << path;
    RecordingView view;
    EXPECT_EQ(prepare_log_set({path}, true, view, extent, &stop), kRunFailed) << path;
    EXPECT_TRUE(view.errors.empty()) << path;
    std::vector<fs::path> paths = {path, path};
    sort_logs_by_start(paths, &stop);
    EXPECT_EQ(paths.size(), 2u);
  }
}

}  // namespace
}  // namespace tolvane
