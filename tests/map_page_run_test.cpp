// The map page run: whole pages from generated logs, the stages, and the failures.
#include "map_page/map_page_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/run_messages.h"
#include "core/text_format.h"
#include "map_page/builtin_map.h"
#include "map_page_test_support.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using testing::add_seconds;
using testing::count_of;
using testing::Fix;
using testing::nmea_text;
using testing::read_file;
using testing::RecordingView;

// Log A: 20 fixes 40 s apart from 14:50:00 UTC on 5 January 2008 (23:50 local with GMT 9), so
// the track passes local midnight; a 120 s gap before fix 10. Log B: 5 fixes 10 s apart from
// 15:30:00 UTC.
std::vector<Fix> log_a() {
  std::vector<Fix> fixes;
  int time = 145000;
  for (int i = 0; i < 20; ++i) {
    if (i == 10) time = add_seconds(time, 80);
    fixes.push_back(
        {time, 50108, 35.6 + 0.0015 * i, 139.7 + 0.002 * i, 10.0 + i, 20.0 * i, -3.5 + 7.25 * i});
    time = add_seconds(time, 40);
  }
  return fixes;
}

std::vector<Fix> log_b() {
  std::vector<Fix> fixes;
  for (int i = 0; i < 5; ++i) {
    fixes.push_back(
        {add_seconds(153000, 10 * i), 50108, 35.64 - 0.0011 * i, 139.74, 3.5, 348.75, 12.0});
  }
  return fixes;
}

class MapPageRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tolvane_map_run_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    input_.output_path = dir_ / "trip.html";
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path write_log(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  // Runs with the logs B, A (the run sorts them) and returns the page.
  std::string run_two_logs(const ConversionSettings& settings) {
    input_.log_paths = {write_log("b.log", nmea_text(log_b())),
                        write_log("a.log", nmea_text(log_a()))};
    EXPECT_EQ(convert_to_html(input_, settings, view_), kRunSucceeded);
    EXPECT_EQ(view_.errors(), 0);
    return read_file(input_.output_path);
  }

  fs::path dir_;
  ConversionInput input_;
  RecordingView view_;
};

TEST_F(MapPageRun, DefaultSettingsGiveTheGoldenPage) {
  const std::string page = run_two_logs(testing::api_loader_settings());
  testing::expect_golden(page, "run_default.html");
  EXPECT_EQ(view_.events,
            (std::vector<std::string>{"status GPSログファイルをチェック中", "progress 100",
                                      "status ポイントアイコンを出力中", "status 経路情報を出力中",
                                      "status 処理を終了しました", "progress 0"}));
}

// Without the profile, the built-in layer takes the loader's one line; every other byte of the
// page stays.
TEST_F(MapPageRun, BuiltInMapReplacesOnlyTheLoaderLine) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.route = 0;
  const std::string loader_page = run_two_logs(settings);
  settings.google_maps.builtin_map = 1;
  settings.google_maps.profile = 0;
  settings.google_maps.tile_attribution = "A \"b' </script><!-- ]]> c";
  const std::string page = run_two_logs(settings);
  const std::string loader =
      "    <script src=\"http://maps.google.com/maps?file=api&amp;v=2\" "
      "type=\"text/javascript\"></script>\r\n";
  const std::size_t at = loader_page.find(loader);
  ASSERT_NE(at, std::string::npos);
  const std::string layer =
      testing::capture([&](TextSink& out) { write_builtin_map(settings, out); });
  EXPECT_EQ(page, loader_page.substr(0, at) + layer + loader_page.substr(at + loader.size()));
  EXPECT_EQ(page.find("maps.google.com/maps?file=api"), std::string::npos);
}

TEST_F(MapPageRun, EveryReadOutAndTheFixedZoomGiveTheGoldenPage) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.show_altitude = 1;
  settings.google_maps.api2_zoom = 13;
  settings.google_maps.use_key = 1;
  settings.google_maps.key = "KEY";
  settings.google_maps.mode = 2;
  settings.google_maps.minimum_movement = 0;
  testing::expect_golden(run_two_logs(settings), "run_all_read_outs.html");
}

TEST_F(MapPageRun, RouteOffGivesTheGoldenPageWithInformationWindows) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.route = 0;
  settings.google_maps.direction_icon = 0;
  settings.common.concate = 0;
  settings.google_maps.mode = 5;
  testing::expect_golden(run_two_logs(settings), "run_route_off.html");
}

TEST_F(MapPageRun, MarkerIndexCountsEveryPointOfEveryLog) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.mode = 1;
  settings.google_maps.minimum_movement = 0;
  const std::string page = run_two_logs(settings);
  // Log A (20 points) comes first after the sort; B's first point is index 20.
  EXPECT_NE(page.find(",\"\",0));\r\n"), std::string::npos);
  EXPECT_NE(
      page.find("    map.addOverlay(createMarker0(new GLatLng(35.6399994,139.7400055),\"\",20));"),
      std::string::npos);
  EXPECT_EQ(count_of(page, "points.push("), 25);
  EXPECT_EQ(count_of(page, "point_info.push("), 25);
}

TEST_F(MapPageRun, ModeZeroWritesNoMarkersAndNoLineBreakForThem) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.mode = 0;
  const std::string page = run_two_logs(settings);
  EXPECT_EQ(page.find("map.addOverlay(createMarker"), std::string::npos);
  EXPECT_NE(page.find("    icon15.infoWindowAnchor = new GPoint(5, 1);\r\n"
                      "\r\n"
                      "    points.push("),
            std::string::npos);
  EXPECT_EQ(std::find(view_.events.begin(), view_.events.end(), "status ポイントアイコンを出力中"),
            view_.events.end());
}

TEST_F(MapPageRun, SwitchValuesOtherThanOneCountAsOff) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.route = 2;
  settings.google_maps.show_analog = 1;
  settings.google_maps.direction_icon = 2;
  const std::string page = run_two_logs(settings);
  for (const char* absent : {"point_info", "time_info", "playRoute", "createMarker0", "icon15"}) {
    EXPECT_EQ(page.find(absent), std::string::npos) << absent;
  }
  // With route off the markers carry their information text.
  EXPECT_NE(page.find("map.addOverlay(createMarker(new GLatLng(35.5999985,139.6999969),"
                      "\"<strong>2008年1月5日(土) 23:50.00<br />(0.0 km)"),
            std::string::npos);
}

TEST_F(MapPageRun, OnePointLogGivesAPageWithoutPolylines) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.show_altitude = 1;
  input_.log_paths = {
      write_log("one.log", nmea_text({{10203, 311299, -33.86882, 151.20929, 0.0, 0.0, -0.5}}))};
  ASSERT_EQ(convert_to_html(input_, settings, view_), kRunSucceeded);
  const std::string page = read_file(input_.output_path);
  EXPECT_EQ(page.find("GPolyline"), std::string::npos);
  EXPECT_NE(page.find("    <title>2099年12月31日(木)</title>\r\n"), std::string::npos);
  EXPECT_NE(page.find("    point_info.push(new String(\"2099/12/31 10:02.03 (0.0 km)<br />0.0 "
                      "km/h &nbsp; Heading 0\"));\r\n"
                      "    time_info.push(602);\r\n"
                      "    alt_info.push(0);\r\n"),
            std::string::npos);
  EXPECT_EQ(page.substr(page.size() - 9), "</html>\r\n");
}

TEST_F(MapPageRun, ZeroAndNegativeSizesAreWrittenWithoutHarm) {
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.xsize = 0;
  settings.google_maps.ysize = -1;
  settings.google_maps.icon_size = -28;
  settings.google_maps.line_width = 0;
  settings.common.minimum_interval = -50;
  settings.common.radio_timeout = 0;  // every step is a gap: one weak stretch
  const std::string page = run_two_logs(settings);
  EXPECT_NE(page.find("    <div id=\"map\" style=\"width:0px;height:-1px;\"></div>\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("    icon0.iconAnchor = new GPoint(-14, -14);\r\n"), std::string::npos);
  EXPECT_EQ(count_of(page, "new GPolyline("), 1);
  EXPECT_NE(page.find("    map.addOverlay(new GPolyline(points.slice(0, 25),'#006060', 0, 0.5));"),
            std::string::npos);
}

TEST_F(MapPageRun, FailuresShowOneMessageAndLeaveNoPage) {
  ConversionSettings settings = testing::api_loader_settings();
  std::ofstream(input_.output_path, std::ios::binary) << "earlier page";

  input_.log_paths = {dir_ / "missing.log"};
  EXPECT_EQ(convert_to_html(input_, settings, view_), kRunFailed);
  input_.log_paths = {write_log("empty.log", "$GPGSA,A,3*39\r\n")};
  EXPECT_EQ(convert_to_html(input_, settings, view_), kRunFailed);
  // B overlaps A when both are shifted to start together.
  std::vector<Fix> overlapping = log_a();
  overlapping[0].hhmmss = 150000;
  input_.log_paths = {write_log("a.log", nmea_text(log_a())),
                      write_log("c.log", nmea_text({overlapping[0], overlapping[1]}))};
  EXPECT_EQ(convert_to_html(input_, settings, view_), kRunFailed);

  EXPECT_EQ(view_.errors(), 3);
  EXPECT_EQ(std::count(view_.events.begin(), view_.events.end(),
                       std::string("error ") + messages::kCannotOpenInput),
            1);
  EXPECT_EQ(std::count(view_.events.begin(), view_.events.end(),
                       std::string("error ") + messages::kUnsupportedInput),
            1);
  EXPECT_EQ(std::count(view_.events.begin(), view_.events.end(),
                       std::string("error ") + messages::kLogsOverlap),
            1);
  EXPECT_EQ(read_file(input_.output_path), "earlier page");
  // Nothing but the earlier page and the logs is left in the folder.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir_)) files += entry.is_regular_file();
  EXPECT_EQ(files, 4);

  input_.output_path = dir_ / "no such folder" / "trip.html";
  EXPECT_EQ(convert_to_html(input_, settings, view_), kRunFailed);
  EXPECT_EQ(view_.events.back(), std::string("error ") + messages::kCannotCreateOutput);
}

// Removes a log when a stage announces itself, as if it vanished after the pre-pass.
struct VanishingLogView : RecordingView {
  fs::path log;
  std::string at_status;
  void set_status_text(std::string_view text) override {
    RecordingView::set_status_text(text);
    if (text == at_status) fs::remove(log);
  }
};

TEST_F(MapPageRun, LogGoneAfterThePrePassFailsTheStageAndLeavesNoPage) {
  for (const char* stage : {messages::kWritingPoints, messages::kWritingRouteInfo}) {
    VanishingLogView view;
    input_.log_paths = {write_log("a.log", nmea_text(log_a()))};
    view.log = input_.log_paths[0];
    view.at_status = stage;
    EXPECT_EQ(convert_to_html(input_, ConversionSettings{}, view), kRunFailed);
    EXPECT_EQ(view.errors(), 1);
    EXPECT_EQ(view.events.back(), std::string("error ") + messages::kCannotReadInput);
    EXPECT_TRUE(fs::is_empty(dir_)) << stage;
  }
}

TEST_F(MapPageRun, EveryCorpusLogGivesACompletePageOrOneMessage) {
  const char* env = std::getenv("TOLVANE_CORPUS");
  const fs::path corpus =
      fs::path(env && *env ? env : TOLVANE_SOURCE_DIR "/../shared/corpus") / "nmea";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  ConversionSettings settings = testing::api_loader_settings();
  settings.google_maps.show_altitude = 1;
  int pages = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() != ".log") continue;
    RecordingView view;
    input_.log_paths = {entry.path()};
    const RunResult result = convert_to_html(input_, settings, view);
    if (result == kRunSucceeded) {
      ++pages;
      const std::string page = read_file(input_.output_path);
      EXPECT_EQ(page.substr(page.size() - 9), "</html>\r\n") << entry.path();
      EXPECT_EQ(count_of(page, "\n"), count_of(page, "\r\n")) << entry.path();
      EXPECT_EQ(count_of(page, "points.push("), count_of(page, "point_info.push("));
    } else {
      EXPECT_EQ(view.errors(), 1) << entry.path();
    }
  }
  EXPECT_GT(pages, 10);
}

}  // namespace
}  // namespace tolvane
