// The map page's track data, polylines, end of head and body.
#include "map_page/map_page_body.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "map_page_test_support.h"

namespace tolvane {
namespace {

using testing::capture;
using testing::count_of;

TrackPoint at(int hour, int minute, int second) {
  TrackPoint point;
  point.hour = hour;
  point.minute = minute;
  point.second = second;
  return point;
}

// Seconds of the day of the points of one log.
using Log = std::vector<int>;

// The polylines that the cutter writes for these logs.
std::string polylines(const ConversionSettings& settings, const std::vector<Log>& logs) {
  return capture([&](TextSink& out) {
    PolylineCutter cutter(settings, out);
    for (std::size_t i = 0; i < logs.size(); ++i) {
      cutter.begin_log(restarts_route(settings, i));
      for (int s : logs[i]) cutter.point_pushed(at(s / 3600, s / 60 % 60, s % 60));
      cutter.end_log(settings.common.concate == 0 || i + 1 == logs.size());
    }
  });
}

std::string slice(int begin, int end, const char* colour) {
  return "    map.addOverlay(new GPolyline(points.slice(" + std::to_string(begin) + ", " +
         std::to_string(end) + "),'#" + colour + "', 5, 0.5));\r\n\r\n";
}

// Points one second apart starting at 10:00:00, with the gaps given as (index, seconds).
Log seconds_apart(int count, std::vector<std::pair<int, int>> gaps = {}) {
  Log log;
  int s = 36000;
  for (int i = 0; i < count; ++i) {
    for (auto [index, gap] : gaps) {
      if (index == i) s += gap - 1;
    }
    log.push_back(s);
    s += 1;
  }
  return log;
}

TEST(MapPagePolylines, UnbrokenReceptionGivesOneSliceOfEveryPoint) {
  ConversionSettings settings;
  EXPECT_EQ(polylines(settings, {seconds_apart(10)}), slice(0, 10, "00ffff"));
  settings.google_maps.no_receive_path = 0;
  EXPECT_EQ(polylines(settings, {seconds_apart(10, {{4, 600}})}), slice(0, 10, "00ffff"));
  settings.google_maps.no_receive_path = 2;  // only exactly 1 splits
  EXPECT_EQ(polylines(settings, {seconds_apart(10, {{4, 600}})}), slice(0, 10, "00ffff"));
}

TEST(MapPagePolylines, GapSharesItsEndPointsWithBothNeighbours) {
  ConversionSettings settings;
  // Gap between points 3 and 4 of ten; the step to point 5 is short again.
  EXPECT_EQ(polylines(settings, {seconds_apart(10, {{4, 60}})}),
            slice(0, 4, "00ffff") + slice(3, 5, "006060") + slice(4, 10, "00ffff"));
  // 59 seconds is under the timeout.
  EXPECT_EQ(polylines(settings, {seconds_apart(10, {{4, 59}})}), slice(0, 10, "00ffff"));
  // Consecutive gaps merge into one weak stretch; a track that ends weak ends in the weak colour.
  EXPECT_EQ(polylines(settings, {seconds_apart(6, {{3, 90}, {4, 90}, {5, 90}})}),
            slice(0, 3, "00ffff") + slice(2, 6, "006060"));
}

TEST(MapPagePolylines, OnePointStretchesAreNotWritten) {
  ConversionSettings settings;
  // A gap right after the first point: the weak stretch starts at that point.
  EXPECT_EQ(polylines(settings, {seconds_apart(5, {{1, 120}})}),
            slice(0, 2, "006060") + slice(1, 5, "00ffff"));
  // A log of one point, and one of two.
  EXPECT_EQ(polylines(settings, {{36000}}), "");
  EXPECT_EQ(polylines(settings, {{36000, 36001}}), slice(0, 2, "00ffff"));
}

TEST(MapPagePolylines, MidnightIsPassedWithTheTwelveHourRule) {
  ConversionSettings settings;
  EXPECT_EQ(polylines(settings, {{86390, 10, 11}}), slice(0, 3, "00ffff"));
  // A step back in time is shorter than any timeout.
  EXPECT_EQ(polylines(settings, {{36000, 35000, 35001}}), slice(0, 3, "00ffff"));
}

TEST(MapPagePolylines, LogsJoinOnlyWithConcate) {
  ConversionSettings settings;
  const Log first = {36000, 36001, 36002};
  const Log second = {40000, 40001};
  // Joined: the pause between the logs is a weak stretch.
  EXPECT_EQ(polylines(settings, {first, second}),
            slice(0, 3, "00ffff") + slice(2, 4, "006060") + slice(3, 5, "00ffff"));
  settings.common.concate = 0;
  EXPECT_EQ(polylines(settings, {first, second}), slice(0, 3, "00ffff") + slice(3, 5, "00ffff"));
  // Each log restarts the gap state: a weak end does not colour the next log.
  EXPECT_EQ(polylines(settings, {{36000, 37000}, second}),
            slice(0, 2, "006060") + slice(2, 4, "00ffff"));
}

TEST(MapPagePolylines, LineSettingsAreWrittenAsTheyAre) {
  ConversionSettings settings;
  settings.google_maps.line_color = "ff0000";
  settings.google_maps.line_width = -3;
  const std::vector<std::pair<int, const char*>> alphas = {
      {35, "0.4"}, {100, "1.0"}, {0, "0.0"}, {-20, "-0.2"}};
  for (auto [alpha, printed] : alphas) {
    settings.google_maps.line_alpha = alpha;
    EXPECT_EQ(polylines(settings, {{1, 2}}),
              std::string("    map.addOverlay(new GPolyline(points.slice(0, 2),'#ff0000', -3, ") +
                  printed + "));\r\n\r\n");
  }
}

TrackPoint sample_point() {
  TrackPoint point;
  point.latitude = 35.668724f;
  point.longitude = 139.700104f;
  point.year = 2008;
  point.month = 1;
  point.day = 5;
  point.hour = 9;
  point.minute = 7;
  point.second = 3;
  point.speed_kmh = 18.52f;
  point.course = 350.5f;
  point.altitude = -12.7f;
  return point;
}

TEST(MapPageTrackData, PointPushesFollowTheSwitches) {
  MapPageSwitches page;
  const TrackPoint point = sample_point();
  EXPECT_EQ(capture([&](TextSink& out) { write_track_point(page, point, 12.345f, out); }),
            "    points.push(new GLatLng(35.668724,139.700104));\r\n");
  page.route = page.analog = page.altitude = true;
  EXPECT_EQ(capture([&](TextSink& out) { write_track_point(page, point, 12.345f, out); }),
            "    points.push(new GLatLng(35.668724,139.700104));\r\n"
            "    point_info.push(new String(\"2008/01/05 09:07.03 (12.3 km)<br />18.5 km/h &nbsp; "
            "Heading 350\"));\r\n"
            "    time_info.push(547);\r\n"
            "    alt_info.push(-12);\r\n"
            "\r\n");
  page.analog = false;
  EXPECT_EQ(count_of(capture([&](TextSink& out) { write_track_point(page, point, 0, out); }),
                     "time_info"),
            0);
}

TEST(MapPageTrackData, AltitudeIsTruncatedAndWildValuesStayDefined) {
  EXPECT_EQ(whole_metres(-0.9f), 0);
  EXPECT_EQ(whole_metres(1234.99f), 1234);
  EXPECT_EQ(whole_metres(std::nanf("")), 0);
  EXPECT_EQ(whole_metres(1e20f), std::numeric_limits<int>::max());
  EXPECT_EQ(whole_metres(-std::numeric_limits<float>::infinity()), std::numeric_limits<int>::min());
}

TEST(MapPageTrackData, MarkerLinesCarryIconTextAndIndex) {
  MapPageSwitches page;
  const TrackPoint point = sample_point();
  const std::string information = marker_information_text(point, 12.345f);
  EXPECT_EQ(information,
            "<strong>2008年1月5日(土) 09:07.03<br />(12.3 km)<br />18.5 km/h &nbsp; Heading "
            "350<br /></strong>");
  EXPECT_EQ(capture([&](TextSink& out) { write_marker(page, 0, point, information, 17, out); }),
            "    map.addOverlay(createMarker(new GLatLng(35.6687241,139.7001038),\"" + information +
                "\",17));\r\n");
  page.heading_icons = true;
  EXPECT_EQ(capture([&](TextSink& out) { write_marker(page, 9, point, "", 0, out); }),
            "    map.addOverlay(createMarker9(new GLatLng(35.6687241,139.7001038),\"\",0));\r\n");
}

TEST(MapPageEndOfHead, OverlayStartUpFollowsTheSwitches) {
  const std::string end =
      "\r\n"
      "    } else {\r\n"
      "    "
      "document.getElementById('map').innerHTML='お使いのブラウザでは地図を表示できません。';\r\n"
      "    }\r\n"
      "\r\n"
      "    }\r\n"
      "\r\n"
      "    //]]>\r\n"
      "    </script>\r\n"
      "</head>\r\n";
  MapPageSwitches page;
  EXPECT_EQ(capture([&](TextSink& out) { write_overlay_startup_and_head_end(page, out); }), end);
  page.route = page.analog = page.altitude = true;
  EXPECT_EQ(capture([&](TextSink& out) { write_overlay_startup_and_head_end(page, out); }),
            "\r\n"
            "    Pointer = new CenterPointer();\r\n"
            "    TimeView = new TimeViewer();\r\n"
            "    map.addControl(Pointer);\r\n"
            "    map.addControl(TimeView);\r\n"
            "    show_overlay = 1;\r\n"
            "    WriteInfo( point_info[0] )\r\n"
            "    ClockView = new ClockViewer();\r\n"
            "    map.addControl(ClockView);\r\n"
            "    WriteClock( time_info[0] );\r\n"
            "    AltView = new AltViewer();\r\n"
            "    map.addControl(AltView);\r\n"
            "    WriteAlt( alt_info[0] );\r\n" +
                end);
}

// The body of a page with route, photos and photo links: one photo linked relatively, one on
// another drive.
TEST(MapPageBody, BodyWithPhotosMatchesTheGoldenText) {
  MapPageSwitches page;
  page.route = page.analog = true;
  page.photos_present = page.photo_links = true;
  ConversionSettings settings;
  settings.google_maps.xsize = 640;
  settings.google_maps.ysize = 480;
  settings.common.jpeg_larger_edge = 100;
  const std::string body = capture([&](TextSink& out) {
    write_body_start("2008年1月5日(土) - 2008年1月6日(日)", page, settings, out);
    write_photo_frame_start(settings, out);
    MapPhotoBlock photo;
    photo.thumbnail_name = "sDSC01234.JPG";
    photo.thumbnail_path = "trip_pics/sDSC01234.JPG";
    photo.thumbnail_width = 100;
    photo.thumbnail_height = 75;
    photo.latitude = 35.668724f;
    photo.longitude = 139.700104f;
    photo.point_index = 1234;
    photo.year = 2008;
    photo.month = 1;
    photo.day = 5;
    photo.hour = 9;
    photo.minute = 7;
    photo.source_link = "p1.jpg";
    photo.width_percent = 100;
    write_photo_block(page, photo, out);
    photo.thumbnail_name = "sP3.JPG";
    photo.thumbnail_path = "trip_pics/sP3.JPG";
    photo.thumbnail_width = 75;
    photo.thumbnail_height = 100;
    photo.point_index = 0;
    photo.day = 6;
    photo.hour = 23;
    photo.minute = 59;
    photo.source_link = "file:///D:/p3.jpg";
    photo.width_percent = 58;
    write_photo_block(page, photo, out);
    write_photo_frame_end(out);
    write_body_end(page, out);
  });
  testing::expect_golden(body, "body_photos_links.txt");
}

TEST(MapPageBody, PhotoBlockWithoutLinksCallsTheShortMarkerFunction) {
  MapPageSwitches page;
  page.photos_present = true;
  MapPhotoBlock photo;
  photo.thumbnail_name = "sA.jpg";
  photo.thumbnail_path = "t_pics/sA.jpg";
  photo.latitude = -1.5f;
  photo.longitude = 2.25f;
  photo.point_index = 3;
  photo.hour = 1;
  photo.minute = 2;
  photo.source_link = "ignored.jpg";
  const std::string text = capture([&](TextSink& out) { write_photo_block(page, photo, out); });
  EXPECT_NE(text.find("        <a name=\"sA.jpg\" href=\"javascript:void(0)\" "
                      "onclick=\"PlacePhotoMarker(-1.500000,2.250000,3,62)\">\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("ignored"), std::string::npos);
}

TEST(MapPageBody, FormOnlyWithRouteOrLinkedPhotos) {
  auto body_end = [](const MapPageSwitches& page) {
    return capture([&](TextSink& out) { write_body_end(page, out); });
  };
  const std::string footer =
      "    <div id=\"copyright\">\r\n"
      "    <p>\r\n"
      "      <a href=\"https://tolvane.example.org/\" target=\"_blank\">Tolvane</a>\r\n"
      "    </p>\r\n"
      "    </div>\r\n"
      "\r\n"
      "</body>\r\n"
      "</html>\r\n";
  MapPageSwitches page;
  page.photo_links = true;  // links without photos: no checkbox, so no form
  EXPECT_EQ(body_end(page), "    <div style=\"clear:both;\"></div>\r\n\r\n" + footer);
  page.photos_present = true;
  EXPECT_EQ(body_end(page),
            "    <div style=\"clear:both;\"></div>\r\n"
            "\r\n"
            "    <form name=\"control\" class=\"playroute\" action=\"javascript:void(0)\">\r\n"
            "    <p>\r\n"
            "      <input type=\"checkbox\" name=\"linked\" value=\"linked\" checked=\"checked\" "
            "/>写真クリックで元画像表示\r\n"
            "    </p>\r\n"
            "    </form>\r\n"
            "\r\n" +
                footer);
}

TEST(MapPageBody, SizesAreWrittenAsTheyAreAndHugeSumsWrap) {
  MapPageSwitches page;
  page.photos_present = true;
  ConversionSettings settings;
  settings.google_maps.xsize = 0;
  settings.google_maps.ysize = -600;
  settings.common.jpeg_larger_edge = -48;
  std::string text = capture([&](TextSink& out) {
    write_body_start("t", page, settings, out);
    write_photo_frame_start(settings, out);
  });
  EXPECT_NE(text.find("    <div id=\"container\" style=\"width:0px;height:-600px;\">\r\n"
                      "      <div id=\"map\" style=\"width:0px;height:-600px;\"></div>\r\n"
                      "      <div id=\"photoframe\" style=\"width:0px;height:-600px;\">\r\n"),
            std::string::npos);
  settings.google_maps.xsize = std::numeric_limits<std::int32_t>::max();
  settings.common.jpeg_larger_edge = 0;
  text = capture([&](TextSink& out) { write_body_start("t", page, settings, out); });
  EXPECT_NE(text.find("style=\"width:-2147483601px;height:-600px;\">"), std::string::npos);
}

}  // namespace
}  // namespace tolvane
