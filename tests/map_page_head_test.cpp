// The map page's prologue, style sheet, globals, marker factories and the opening of load().
#include "map_page/map_page_head.h"

#include <gtest/gtest.h>

#include "map_page_test_support.h"

namespace tolvane {
namespace {

using testing::capture;
using testing::count_of;

MapPageTrack two_point_track() {
  MapPageTrack track;
  track.first_point.latitude = 35.668724f;
  track.first_point.longitude = 139.7001f;
  track.min_latitude = 35.6f;
  track.max_latitude = 35.7f;
  track.min_longitude = 139.65f;
  track.max_longitude = 139.75f;
  return track;
}

std::string head(const MapPageSwitches& page, const ConversionSettings& settings,
                 const MapPageTrack& track = two_point_track(), int zoom = -1) {
  return capture([&](TextSink& out) {
    write_map_page_head("2008年1月5日(土)", track, zoom, page, settings, out);
  });
}

ConversionSettings settings_with_icon_folder() {
  ConversionSettings settings = testing::api_loader_settings();
  settings.common.icon_url = "file:///opt/tolvane/icons";
  settings.google_maps.key = "ABQIAAAA-key";
  return settings;
}

TEST(MapPageHead, AllSwitchesOffMatchesTheGoldenText) {
  testing::expect_golden(head(MapPageSwitches{}, settings_with_icon_folder()), "head_plain.txt");
}

TEST(MapPageHead, AllSwitchesOnMatchesTheGoldenText) {
  MapPageSwitches page;
  page.route = page.analog = page.altitude = true;
  page.heading_icons = page.photos_present = page.photo_links = page.use_key = true;
  testing::expect_golden(head(page, settings_with_icon_folder(), two_point_track(), 0),
                         "head_all_switches.txt");
}

TEST(MapPageHead, RouteWithoutClockOrGaugeDeclaresNeitherReadOut) {
  MapPageSwitches page;
  page.route = true;
  const std::string text = head(page, settings_with_icon_folder());
  EXPECT_NE(text.find("    var Pointer;\r\n"
                      "    var prev_time = 0;\r\n"
                      "    var show_overlay;\r\n"
                      "    var point_info = new Array();\r\n"
                      "    function createMarker(point,message,icon_num) {\r\n"
                      "      var marker = new GMarker(point, icon);\r\n"
                      "      GEvent.addListener(marker, 'click', function() {\r\n"
                      "        playPoint = icon_num;\r\n"
                      "        map.panTo(points[playPoint]);\r\n"
                      "        WriteInfo( point_info[playPoint] );\r\n"
                      "      });\r\n"),
            std::string::npos);
  for (const char* absent : {"TimeView;", "AltView;", "time_info", "alt_info", "openInfoWindow"}) {
    EXPECT_EQ(text.find(absent), std::string::npos) << absent;
  }
  // The route adds the cross's style rule.
  EXPECT_NE(text.find("    .centerpointer {\r\n        width: 100%;\r\n"), std::string::npos);
}

TEST(MapPageHead, HeadingIconsGiveSixteenFactoriesAndIcons) {
  MapPageSwitches page;
  page.heading_icons = true;
  ConversionSettings settings = settings_with_icon_folder();
  settings.google_maps.icon_size = 27;
  const std::string text = head(page, settings);
  EXPECT_EQ(count_of(text, "function createMarker"), 16);
  EXPECT_NE(text.find("    function createMarker15(point,message,icon_num) {\r\n"
                      "      var marker = new GMarker(point, icon15);\r\n"),
            std::string::npos);
  // Whole degrees of k x 22.5, truncated: 22 and 337, not 23 and 338.
  EXPECT_NE(text.find("    icon1.image = \"file:///opt/tolvane/icons/pt022.png\";\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("    icon15.image = \"file:///opt/tolvane/icons/pt337.png\";\r\n"),
            std::string::npos);
  // An odd size anchors at its truncated half.
  EXPECT_NE(text.find("    icon7.iconSize = new GSize(27, 27);\r\n"
                      "    icon7.iconAnchor = new GPoint(13, 13);\r\n"
                      "    icon7.infoWindowAnchor = new GPoint(5, 1);\r\n\r\n"),
            std::string::npos);
  EXPECT_EQ(text.find("var icon;"), std::string::npos);
}

TEST(MapPageHead, ZoomMinusOneFitsTheBoxAndAnyOtherOpensOnTheFirstPoint) {
  const ConversionSettings settings = settings_with_icon_folder();
  MapPageTrack track = two_point_track();
  // The sum is taken in double: 35.6f + 35.7f in float would give ...650002 here.
  EXPECT_NE(head({}, settings, track, -1)
                .find("    map.setCenter(new GLatLng(35.650000,139.699997),map.getBoundsZoomLevel("
                      "new GLatLngBounds(new GLatLng(35.599998,139.649994),new "
                      "GLatLng(35.700001,139.750000))));\r\n"),
            std::string::npos);
  EXPECT_NE(head({}, settings, track, 0)
                .find("    map.setCenter(new GLatLng(35.668724,139.700104),0);\r\n"),
            std::string::npos);
  EXPECT_NE(head({}, settings, track, -2)
                .find("    map.setCenter(new GLatLng(35.668724,139.700104),-2);\r\n"),
            std::string::npos);

  // A one-point track: the box is that point, and so is its centre.
  track.min_latitude = track.max_latitude = -33.86882f;
  track.min_longitude = track.max_longitude = 151.20929f;
  EXPECT_NE(head({}, settings, track, -1)
                .find("(new GLatLng(-33.868820,151.209290),map.getBoundsZoomLevel(new "
                      "GLatLngBounds(new GLatLng(-33.868820,151.209290),new "
                      "GLatLng(-33.868820,151.209290))));\r\n"),
            std::string::npos);
}

TEST(MapPageHead, LoaderCarriesTheKeyOnlyWithUseKey) {
  ConversionSettings settings = settings_with_icon_folder();
  const std::string loader_start = "    <script src=\"http://maps.google.com/maps?file=api&amp;v=2";
  EXPECT_NE(head({}, settings).find(loader_start + "\" type=\"text/javascript\"></script>\r\n"),
            std::string::npos);
  MapPageSwitches page;
  page.use_key = true;
  settings.google_maps.key.clear();
  EXPECT_NE(head(page, settings)
                .find(loader_start + "&amp;key=\" type=\"text/javascript\"></script>\r\n"),
            std::string::npos);
}

TEST(MapPageHead, ZeroAndNegativeIconSizesAreWrittenAsTheyAre) {
  ConversionSettings settings = settings_with_icon_folder();
  settings.google_maps.icon_size = -7;
  EXPECT_NE(head({}, settings)
                .find("    icon.iconSize = new GSize(-7, -7);\r\n"
                      "    icon.iconAnchor = new GPoint(-3, -3);\r\n"),
            std::string::npos);
  settings.google_maps.icon_size = 0;
  EXPECT_NE(head({}, settings)
                .find("    icon.iconSize = new GSize(0, 0);\r\n"
                      "    icon.iconAnchor = new GPoint(0, 0);\r\n"),
            std::string::npos);
}

TEST(MapPageHead, StartsWithTheXmlDeclarationAndEndsInsideLoad) {
  const std::string text = head({}, settings_with_icon_folder());
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n", 0), 0u);  // no BOM
  EXPECT_EQ(count_of(text, "\n"), count_of(text, "\r\n"));
  const std::string end = "    icon.infoWindowAnchor = new GPoint(5, 1);\r\n\r\n";
  EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

}  // namespace
}  // namespace tolvane
