// Photos in both runs: capture-time order, thumbnails, placement on the track, links, escaped
// names, the same output from one or several workers, and the failures that stop the stage.
#include "photos/photo_stage.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "core/run_messages.h"
#include "kml/kml_run.h"
#include "map_page/map_page_run.h"
#include "test_support.h"

namespace tolvane {
namespace {

using namespace tolvane::testing;

// Ten fixes 10 s apart from 01:00:00 UTC on 5 January 2008: 10:00:00 to 10:01:30 local.
std::vector<Fix> ten_fixes() {
  std::vector<Fix> fixes;
  for (int i = 0; i < 10; ++i) {
    fixes.push_back({add_seconds(10000, 10 * i), 50108, 35.0 + 0.001 * i, 139.0 + 0.002 * i});
  }
  return fixes;
}

class PhotoStage : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    write_file(folder_ / "trip.log", nmea_text(ten_fixes()));
    input_.log_paths = {folder_ / "trip.log"};
    settings_.common.icon_url = "http://example.org/icons";
  }
  fs::path photo(const std::string& name, const std::string& taken, int width = 64,
                 int height = 48) {
    const fs::path path = folder_ / name;
    write_test_photo(path, width, height, taken);
    return path;
  }
  // The four photos of most tests, listed out of capture-time order.
  void add_four_photos() {
    input_.photo_paths = {
        photo("p_after.jpg", "2008:01:05 11:00:00"), photo("p_mid.jpg", "2008:01:05 10:00:15"),
        photo("p_before.jpg", "2008:01:05 09:59:00"), photo("p_at.jpg", "2008:01:05 10:00:40")};
  }
  std::string run_kml() {
    input_.output_path = folder_ / "trip.kml";
    result_ = convert_to_kml(input_, settings_, view_);
    return read_file(input_.output_path);
  }
  std::string run_html() {
    input_.output_path = folder_ / "trip.html";
    result_ = convert_to_html(input_, settings_, view_);
    return read_file(input_.output_path);
  }
  std::vector<std::string> matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it) {
      found.push_back((*it)[1].str());
    }
    return found;
  }

  ConversionInput input_;
  ConversionSettings settings_;
  RecordingView view_;
  RunResult result_ = kRunFailed;
};

TEST_F(PhotoStage, KmlPicturesComeInCaptureTimeOrderWithTheirThumbnails) {
  add_four_photos();
  const std::string kml = run_kml();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_EQ(matches(kml, "<div>(s[a-z_]+\\.jpg)</div>"),
            (std::vector<std::string>{"sp_before.jpg", "sp_mid.jpg", "sp_at.jpg", "sp_after.jpg"}));
  EXPECT_EQ(matches(kml, "CDATA\\[画像([0-9]+)\\]\\]"),
            (std::vector<std::string>{"1", "2", "3", "4"}));
  EXPECT_NE(kml.find("<img src=\"trip_pics/sp_mid.jpg\" width=\"128\" height=\"96\" border"),
            std::string::npos);
  EXPECT_LT(kml.find("<name>Tracks</name>"), kml.find("<name>Pictures</name>"));
  EXPECT_NE(kml.find("<Style id=\"PictureIcon_n\">"), std::string::npos);
  for (const char* name : {"sp_before.jpg", "sp_mid.jpg", "sp_at.jpg", "sp_after.jpg"}) {
    EXPECT_TRUE(fs::exists(folder_ / "trip_pics" / name)) << name;
  }
  // Before the track: its first point; halfway between two points: halfway; after: the last.
  // Positions are 32-bit floats, printed with six decimals.
  const std::string pictures = kml.substr(kml.find("<name>Pictures</name>"));
  EXPECT_EQ(matches(pictures,
                    "<coordinates>([0-9.]+,[0-9.]+),0</coordinates>\r\n    </Point>\r\n  "
                    "</Placemark>\r\n(?:  <Placemark>\r\n    <description>|</Folder>)"),
            (std::vector<std::string>{"139.000000,35.000000", "139.002991,35.001499",
                                      "139.007996,35.004002", "139.018005,35.008999"}));

  const std::vector<std::string> expected_tail = {"status JPEGファイルのチェック中",
                                                  "status JPEGファイルを縮小中",
                                                  "progress 0",
                                                  "progress 25",
                                                  "progress 50",
                                                  "progress 75",
                                                  "progress 100",
                                                  "progress 100",
                                                  "status 処理を終了しました",
                                                  "progress 0"};
  ASSERT_GE(view_.events.size(), expected_tail.size());
  EXPECT_EQ(std::vector<std::string>(view_.events.end() - static_cast<long>(expected_tail.size()),
                                     view_.events.end()),
            expected_tail);
}

TEST_F(PhotoStage, TheCameraClockIsCorrectedAndTurnedPhotosStandUpright) {
  // A minute fast, taken upright on its side: 10:00:15 on the track, between two points.
  settings_.common.photo_time_offset = -60;
  input_.photo_paths = {folder_ / "p_turned.jpg"};
  write_test_photo(input_.photo_paths[0], 64, 48, "2008:01:05 10:01:15", 6);
  const std::string kml = run_kml();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_NE(kml.find("<img src=\"trip_pics/sp_turned.jpg\" width=\"96\" height=\"128\" border"),
            std::string::npos);
  EXPECT_NE(kml.find("<coordinates>139.002991,35.001499,0</coordinates>"), std::string::npos);
  EXPECT_NE(kml.find("<div>2008/01/05 10:00.15</div>"), std::string::npos);
  settings_.common.jpeg_embed_link = 1;
  const std::string page = run_html();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_NE(page.find("width=\"96\" height=\"128\""), std::string::npos);
  EXPECT_NE(page.find("',75)\">"), std::string::npos);  // the width percentage
}

TEST_F(PhotoStage, MapPageBlocksCarryThePointIndexAndRelativeLinks) {
  settings_.common.jpeg_embed_link = 1;
  add_four_photos();
  fs::create_directories(folder_ / "elsewhere");
  write_test_photo(folder_ / "elsewhere" / "p_side.jpg", 48, 64, "2008:01:05 10:01:00");
  input_.photo_paths.push_back(folder_ / "elsewhere" / "p_side.jpg");
  fs::create_directories(folder_ / "pages");
  input_.output_path = folder_ / "pages" / "trip.html";
  result_ = convert_to_html(input_, settings_, view_);
  ASSERT_EQ(result_, kRunSucceeded);
  const std::string page = read_file(input_.output_path);
  EXPECT_EQ(matches(page, "PlacePhotoMarker\\([0-9.]+,[0-9.]+,([0-9]+),"),
            (std::vector<std::string>{"0", "2", "4", "6", "9"}));
  EXPECT_NE(page.find(",'../p_mid.jpg',100)\">"), std::string::npos);
  EXPECT_NE(page.find(",'../elsewhere/p_side.jpg',75)\">"), std::string::npos);
  EXPECT_NE(page.find("<img src=\"trip_pics/sp_side.jpg\" alt=\"trip_pics/sp_side.jpg\" "
                      "width=\"96\" height=\"128\"><br />"),
            std::string::npos);
  EXPECT_NE(page.find("<input type=\"checkbox\" name=\"linked\""), std::string::npos);
  EXPECT_TRUE(fs::exists(folder_ / "pages" / "trip_pics" / "sp_side.jpg"));
}

TEST_F(PhotoStage, CraftedNamesAreEscapedForEachPlace) {
  settings_.common.jpeg_embed_link = 1;
  input_.photo_paths = {photo("a'b.jpg", "2008:01:05 10:00:05"),
                        photo("x\"<y>&z.jpg", "2008:01:05 10:00:25")};
  const std::string page = run_html();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_NE(page.find("<a name=\"sa&#39;b.jpg\""), std::string::npos);
  EXPECT_NE(page.find(",'a%27b.jpg',100)\">"), std::string::npos);
  EXPECT_NE(page.find("<img src=\"trip_pics/sa%27b.jpg\" alt=\"trip_pics/sa&#39;b.jpg\""),
            std::string::npos);
  EXPECT_NE(page.find("        sx\"&lt;y&gt;&amp;z.jpg<br />"), std::string::npos);
  EXPECT_NE(page.find(",'x%22%3Cy%3E%26z.jpg',100)\">"), std::string::npos);
  EXPECT_EQ(page.find("<y>"), std::string::npos);

  const std::string kml = run_kml();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_NE(kml.find("<img src=\"trip_pics/sx%22%3Cy%3E%26z.jpg\""), std::string::npos);
  EXPECT_NE(kml.find("<div>sx\"&lt;y&gt;&amp;z.jpg</div>"), std::string::npos);
  EXPECT_NE(kml.find("a%27b.jpg\"><img"), std::string::npos);

  // A name that is not UTF-8 (Shift-JIS): its bytes as %XX in the thumbnail's name and in the
  // photo's link, shown as U+FFFD.
  input_.photo_paths = {photo("\x83\x65\x83\x58.jpg", "2008:01:05 10:00:05")};
  const std::string sjis = run_html();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_TRUE(fs::exists(folder_ / "trip_pics" / "s%83e%83X.jpg"));
  EXPECT_NE(
      sjis.find("<img src=\"trip_pics/s%2583e%2583X.jpg\" alt=\"trip_pics/s\uFFFDe\uFFFDX.jpg\""),
      std::string::npos);
  EXPECT_NE(sjis.find(",'%83e%83X.jpg',100)\">"), std::string::npos);
  EXPECT_NE(sjis.find("        s\uFFFDe\uFFFDX.jpg<br />"), std::string::npos);
}

TEST_F(PhotoStage, OneWorkerAndSeveralWriteTheSameDocument) {
  std::vector<fs::path> photos;
  for (int i = 0; i < 8; ++i) {
    photos.push_back(photo("p" + std::to_string(i) + ".jpg",
                           format_text("2008:01:05 10:00:%02d", 70 - 9 * i > 59 ? 59 : 70 - 9 * i),
                           80 + 8 * i, 60));
  }
  // Two photos of one name in different folders share their thumbnail file.
  fs::create_directories(folder_ / "b");
  write_test_photo(folder_ / "b" / "p3.jpg", 40, 90, "2008:01:05 10:01:20");
  photos.push_back(folder_ / "b" / "p3.jpg");

  input_.photo_paths = photos;
  input_.thumbnail_workers = 1;
  const std::string one = run_kml();
  ASSERT_EQ(result_, kRunSucceeded);
  const std::string thumbnail_one = read_file(folder_ / "trip_pics" / "sp3.jpg");
  fs::remove_all(folder_ / "trip_pics");

  input_.photo_paths = photos;
  input_.thumbnail_workers = 4;
  const std::string four = run_kml();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_EQ(one, four);
  EXPECT_EQ(read_file(folder_ / "trip_pics" / "sp3.jpg"), thumbnail_one);
}

TEST_F(PhotoStage, APhotoThatCannotBeDecodedStopsTheRunAndKeepsTheEarlierOutput) {
  add_four_photos();
  write_file(folder_ / "broken.jpg", "not a JPEG at all");
  input_.photo_paths.push_back(folder_ / "broken.jpg");
  write_file(folder_ / "trip.kml", "earlier document");
  run_kml();
  EXPECT_EQ(result_, kRunFailed);
  EXPECT_EQ(view_.errors(), 1);
  // The photo without a capture time comes first, so nothing is placed before it fails.
  EXPECT_EQ(view_.events.back(), std::string("error ") + messages::kThumbnailFailed);
  EXPECT_EQ(read_file(folder_ / "trip.kml"), "earlier document");
}

TEST_F(PhotoStage, APictureFolderThatCannotBeMadeStopsTheRun) {
  add_four_photos();
  write_file(folder_ / "trip_pics", "a file where the folder would go");
  const std::string page = run_html();
  EXPECT_EQ(result_, kRunFailed);
  EXPECT_EQ(view_.errors(), 1);
  EXPECT_EQ(view_.events.back(), std::string("error ") + messages::kFolderFailed);
  EXPECT_FALSE(fs::exists(folder_ / "trip.html"));
}

TEST_F(PhotoStage, PointsWholeDaysApartGiveThePhotoTheLaterPosition) {
  write_file(folder_ / "days.log", nmea_text({{10000, 50108, 35.0, 139.0},
                                              {10000, 60108, 36.0, 140.0},
                                              {10010, 60108, 36.5, 140.5}}));
  input_.log_paths = {folder_ / "days.log"};
  input_.photo_paths = {photo("p.jpg", "2008:01:06 09:00:00")};
  const std::string page = run_html();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_NE(page.find("PlacePhotoMarker(36.000000,140.000000,1,540)"), std::string::npos);
}

TEST_F(PhotoStage, APhotoWithoutCaptureTimeSitsOnTheFirstPoint) {
  input_.photo_paths = {photo("late.jpg", "2008:01:05 10:01:05"), photo("plain.jpg", "")};
  const std::string page = run_html();
  ASSERT_EQ(result_, kRunSucceeded);
  EXPECT_EQ(matches(page, "<a name=\"([a-z.]+)\""),
            (std::vector<std::string>{"splain.jpg", "slate.jpg"}));
  EXPECT_NE(page.find("PlacePhotoMarker(35.000000,139.000000,0,0)"), std::string::npos);
}

}  // namespace
}  // namespace tolvane
