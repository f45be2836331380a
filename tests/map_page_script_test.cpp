// The map page's script functions, for the combinations of the page switches.
#include "map_page/map_page_script.h"

#include <gtest/gtest.h>

#include "map_page_test_support.h"

namespace tolvane {
namespace {

using testing::capture;
using testing::count_of;

MapPageSwitches all_on() {
  MapPageSwitches page;
  page.route = page.analog = page.altitude = true;
  page.heading_icons = page.photos_present = page.photo_links = page.use_key = true;
  return page;
}

std::string script(const MapPageSwitches& page, const ConversionSettings& settings = {}) {
  return capture([&](TextSink& out) { write_map_page_script(page, settings, out); });
}

TEST(MapPageScript, EveryGroupMatchesTheGoldenText) {
  ConversionSettings settings;
  settings.google_maps.jpeg_child_window_width = 641;
  settings.google_maps.jpeg_child_window_height = 679;
  testing::expect_golden(script(all_on(), settings), "script_all_groups.txt");
}

TEST(MapPageScript, NothingWithoutRoutePhotosOrLinks) {
  MapPageSwitches page;
  page.heading_icons = page.use_key = true;  // neither adds a function
  EXPECT_EQ(script(page), "");
}

TEST(MapPageScript, RouteOffWithPhotosOnlyPlacesTheMarker) {
  MapPageSwitches page;
  page.photos_present = true;
  const std::string expected =
      "    function PlacePhotoMarker( lat, lon, num_point, hour_min ) {\r\n"
      "      if ( show_picture_icon == 1 ) {\r\n"
      "        map.removeOverlay(PictureIconPointer);\r\n"
      "        window.clearTimeout(PictureIconTimer);\r\n"
      "        show_picture_icon = 0;\r\n"
      "      }\r\n"
      "      var NewPoint = new GLatLng(lat,lon);\r\n"
      "      PictureIconPointer = new GMarker(NewPoint,picture_icon);\r\n"
      "      map.addOverlay(PictureIconPointer);\r\n"
      "      map.setCenter(NewPoint);\r\n"
      "      PictureIconTimer=window.setTimeout(\"RemovePhotoMarker()\",3000);\r\n"
      "      show_picture_icon = 1;\r\n"
      "    }\r\n"
      "\r\n"
      "    function RemovePhotoMarker() {\r\n"
      "        map.removeOverlay(PictureIconPointer);\r\n"
      "        show_picture_icon = 0;\r\n"
      "    }\r\n"
      "\r\n";
  EXPECT_EQ(script(page), expected);
}

TEST(MapPageScript, AltitudeWithoutClockLeavesEveryClockPieceOut) {
  MapPageSwitches page;
  page.route = page.altitude = true;
  const std::string text = script(page);
  for (const char* absent : {"ClockViewer", "ClockView", "dec2hex", "WriteClock", "time_info"}) {
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
  }
  EXPECT_NE(text.find("        map.removeControl(TimeView);\r\n"
                      "        map.removeControl(AltView);\r\n"
                      "        show_overlay = 0;\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("      map.panTo(points[playPoint]);\r\n"
                      "        WriteAlt( alt_info[playPoint] );\r\n"
                      "      playPoint++;\r\n"),
            std::string::npos);
  // The gauge is written one level deeper than the other controls.
  EXPECT_NE(text.find("    function AltViewer() {\r\n"
                      "        }\r\n"
                      "        AltViewer.prototype = new GControl();\r\n"
                      "        AltViewer.prototype.initialize = function(map) {\r\n"
                      "          var pointer = document.createElement(\"div\");\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("        function WriteAlt(alt) {\r\n"), std::string::npos);
  // FwdRoute, RwdRoute and rewindRoute each refresh the gauge; goForward and SwitchOverlay too.
  EXPECT_EQ(count_of(text, "WriteAlt( alt_info[playPoint] );"), 5);
}

TEST(MapPageScript, ClockWithoutAltitudeLeavesTheGaugeOut) {
  MapPageSwitches page;
  page.route = page.analog = true;
  const std::string text = script(page);
  for (const char* absent : {"AltViewer", "AltView", "WriteAlt", "alt_info"}) {
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
  }
  EXPECT_NE(text.find("      if ( prev_time != time_info[playPoint] ) {\r\n"
                      "        WriteClock( time_info[playPoint] );\r\n"
                      "      }\r\n"),
            std::string::npos);
  // The clock's element is the global one, named in every line of its initializer.
  EXPECT_NE(text.find("      clock_pointer = document.createElement(\"div\");\r\n"
                      "      clock_pointer.style.width = \"100px\";\r\n"
                      "      clock_pointer.style.height = \"100px\";\r\n"
                      "      clock_pointer.style.backgroundColor = \"#e0e0ff\";\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("      map.getContainer().appendChild(clock_pointer);\r\n"
                      "      return clock_pointer;\r\n"),
            std::string::npos);
}

TEST(MapPageScript, PhotoMarkerFollowsTheReplaySwitches) {
  MapPageSwitches page = all_on();
  page.photo_links = false;
  const std::string text = script(page);
  // The clock shows the photo's own minute; the read-out and gauge those of the point.
  EXPECT_NE(text.find("      playPoint = num_point;\r\n"
                      "      WriteInfo( point_info[playPoint] )\r\n"
                      "      WriteClock( hour_min );\r\n"
                      "      WriteAlt( alt_info[playPoint] );\r\n"
                      "      PictureIconTimer="),
            std::string::npos);
  EXPECT_EQ(text.find("openwin"), std::string::npos);
  EXPECT_EQ(text.find("win_closed"), std::string::npos);
}

TEST(MapPageScript, ChildWindowTakesItsSizeFromTheSettings) {
  MapPageSwitches page;
  page.photo_links = true;
  ConversionSettings settings;
  settings.google_maps.jpeg_child_window_width = -5;
  settings.google_maps.jpeg_child_window_height = 0;
  const std::string text = script(page, settings);
  EXPECT_NE(text.find("        win1 = window.open('',targetName,\"top=0,left=0,width=-5,height=0,"
                      "resizable,scrollbars\");\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("PlacePhotoMarker"), std::string::npos);
}

TEST(MapPageScript, EveryLineEndsInCrLf) {
  const std::string text = script(all_on());
  EXPECT_EQ(count_of(text, "\n"), count_of(text, "\r\n"));
  EXPECT_EQ(count_of(text, "\r"), count_of(text, "\r\n"));
  EXPECT_EQ(text.substr(text.size() - 5), "}\r\n\r\n");
}

}  // namespace
}  // namespace tolvane
