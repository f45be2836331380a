// The KML pieces, line for line.
#include "kml/kml_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tolvane {
namespace {

// Collects what a piece writes through a TextSink, with CR LF turned back into "\n" after
// checking that no line ends otherwise.
template <class Write>
std::string written(Write&& write) {
  char* data = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&data, &size);
  {
    TextSink sink(memory);
    write(sink);
  }
  std::fclose(memory);
  std::string raw(data, size);
  std::free(data);
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r') {
      EXPECT_TRUE(i + 1 < raw.size() && raw[i + 1] == '\n') << "CR without LF at " << i;
      continue;
    }
    if (raw[i] == '\n') {
      EXPECT_TRUE(i > 0 && raw[i - 1] == '\r') << "bare LF at " << i;
    }
    text.push_back(raw[i]);
  }
  return text;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

ConversionSettings test_settings() {
  ConversionSettings settings;
  settings.common.icon_url = "http://example.org/icons";
  return settings;
}

TrackPoint local_point() {
  TrackPoint p;
  p.year = 2008;
  p.month = 1;
  p.day = 5;
  p.hour = 9;
  p.minute = 7;
  p.second = 3;
  p.latitude = 35.668724f;
  p.longitude = 139.75f;
  p.speed_kmh = 18.52f;
  p.course = 123.6f;
  return p;
}

TEST(KmlHead, BeginsWithTheDeclarationNamespacesCommentAndTitle) {
  const auto lines = lines_of(written(
      [](TextSink& sink) { write_kml_head(sink, test_settings(), "2008年1月5日(土)", false); }));
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(lines[1], "<kml xmlns=\"http://earth.google.com/kml/2.1\">");
  EXPECT_EQ(lines[2], "<Document xmlns:xlink=\"http://www.w3.org/1999/xlink\">");
  EXPECT_EQ(lines[3].rfind("<!--", 0), 0u);
  EXPECT_NE(lines[3].find("Tolvane"), std::string::npos);
  EXPECT_EQ(lines[3].substr(lines[3].size() - 3), "-->");
  EXPECT_EQ(lines[4], "<name>2008年1月5日(土)</name>");
  // 16 heading groups of 28 lines, the plain point style (26) and the two line styles (12).
  EXPECT_EQ(lines.size(), 5u + 16 * 28 + 26 + 12);
}

TEST(KmlHead, HeadingStylesUseTheScalesAndOneSlashBeforeTheIcon) {
  ConversionSettings settings = test_settings();
  settings.google_earth.normal_icon_size = 80;
  settings.google_earth.focus_icon_size = 100;
  const std::string text =
      written([&](TextSink& sink) { write_kml_head(sink, settings, "t", false); });
  const std::string group_03 =
      "<Style id=\"track_n_03\">\n"
      "  <IconStyle>\n"
      "    <scale>0.80</scale>\n"
      "    <heading>0</heading>\n"
      "    <Icon>\n"
      "      <href>http://example.org/icons/pt067.png</href>\n"
      "    </Icon>\n"
      "  </IconStyle>\n"
      "</Style>\n"
      "<Style id=\"track_h_03\">\n"
      "  <IconStyle>\n"
      "    <scale>1.00</scale>\n"
      "    <heading>0</heading>\n"
      "    <Icon>\n"
      "      <href>http://example.org/icons/pt067.png</href>\n"
      "    </Icon>\n"
      "  </IconStyle>\n"
      "</Style>\n"
      "<StyleMap id=\"track_03\">\n"
      "  <Pair>\n"
      "    <key>normal</key>\n"
      "    <styleUrl>#track_n_03</styleUrl>\n"
      "  </Pair>\n"
      "  <Pair>\n"
      "    <key>highlight</key>\n"
      "    <styleUrl>#track_h_03</styleUrl>\n"
      "  </Pair>\n"
      "</StyleMap>\n";
  EXPECT_NE(text.find(group_03), std::string::npos);
  const char* icons[] = {"000", "022", "045", "067", "090", "112", "135", "157",
                         "180", "202", "225", "247", "270", "292", "315", "337"};
  std::size_t from = 0;
  for (const char* icon : icons) {
    const std::string href = std::string("icons/pt") + icon + ".png";
    from = text.find(href, from);
    ASSERT_NE(from, std::string::npos) << icon;
    ++from;
  }
}

TEST(KmlHead, PlainPointAndLineStylesCloseTheHead) {
  ConversionSettings settings = test_settings();
  settings.google_earth.line_width = 7;
  settings.google_earth.line_color = "ff0000ff";
  settings.google_earth.noradio_line_color = "not a colour";
  const std::string text =
      written([&](TextSink& sink) { write_kml_head(sink, settings, "t", false); });
  const std::string tail =
      "<Style id=\"track_n\">\n"
      "  <IconStyle>\n"
      "    <scale>0.7</scale>\n"
      "    <Icon>\n"
      "      <href>http://maps.google.com/mapfiles/kml/pal4/icon60.png</href>\n"
      "    </Icon>\n"
      "  </IconStyle>\n"
      "</Style>\n"
      "<Style id=\"track_h\">\n"
      "  <IconStyle>\n"
      "    <scale>1.0</scale>\n"
      "    <Icon>\n"
      "      <href>http://maps.google.com/mapfiles/kml/pal4/icon60.png</href>\n"
      "    </Icon>\n"
      "  </IconStyle>\n"
      "</Style>\n"
      "<StyleMap id=\"track\">\n"
      "  <Pair>\n"
      "    <key>normal</key>\n"
      "    <styleUrl>#track_n</styleUrl>\n"
      "  </Pair>\n"
      "  <Pair>\n"
      "    <key>highlight</key>\n"
      "    <styleUrl>#track_h</styleUrl>\n"
      "  </Pair>\n"
      "</StyleMap>\n"
      "<Style id=\"lineStyle\">\n"
      "  <LineStyle>\n"
      "<color>ff0000ff</color>\n"
      "    <width>7</width>\n"
      "  </LineStyle>\n"
      "</Style>\n"
      "<Style id=\"lineStyle_dark\">\n"
      "  <LineStyle>\n"
      "<color>not a colour</color>\n"
      "    <width>7</width>\n"
      "  </LineStyle>\n"
      "</Style>\n";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(text.find("PictureIcon"), std::string::npos);
}

TEST(KmlHead, PictureStylesComeAfterTheNameWhenThereArePhotos) {
  ConversionSettings settings = test_settings();
  settings.google_earth.normal_jpeg_icon_size = 60;
  settings.google_earth.focus_jpeg_icon_size = 5;
  const std::string text =
      written([&](TextSink& sink) { write_kml_head(sink, settings, "t", true); });
  const std::string pictures =
      "<name>t</name>\n"
      "<Style id=\"PictureIcon_n\">\n"
      "  <IconStyle>\n"
      "    <scale>0.60</scale>\n"
      "    <hotSpot x=\"0.5\" y=\"0.0\" xunits=\"fraction\" yunits=\"fraction\" />\n"
      "    <Icon>\n"
      "      <href>http://labs.google.com/ridefinder/images/mm_20_red.png</href>\n"
      "    </Icon>\n"
      "  </IconStyle>\n"
      "</Style>\n"
      "<Style id=\"PictureIcon_h\">\n"
      "  <IconStyle>\n"
      "    <scale>0.05</scale>\n"
      "    <hotSpot x=\"0.5\" y=\"0.0\" xunits=\"fraction\" yunits=\"fraction\" />\n"
      "    <Icon>\n"
      "      <href>http://labs.google.com/ridefinder/images/mm_20_red.png</href>\n"
      "    </Icon>\n"
      "  </IconStyle>\n"
      "</Style>\n"
      "<StyleMap id=\"PictureIcon\">\n"
      "  <Pair>\n"
      "    <key>normal</key>\n"
      "    <styleUrl>#PictureIcon_n</styleUrl>\n"
      "  </Pair>\n"
      "  <Pair>\n"
      "    <key>highlight</key>\n"
      "    <styleUrl>#PictureIcon_h</styleUrl>\n"
      "  </Pair>\n"
      "</StyleMap>\n"
      "<Style id=\"track_n_00\">\n";
  EXPECT_NE(text.find(pictures), std::string::npos);
}

TEST(KmlPointPlacemark, FullPlacemarkWithTimeStampAndHeadingStyle) {
  const TrackPoint local = local_point();
  TrackPoint utc = local;
  utc.hour = 0;
  utc.day = 5;
  PointPlacemark placemark;
  placemark.utc_stamp = &utc;
  placemark.local = &local;
  placemark.distance_km = 12.345f;
  placemark.heading_style = 5;
  const std::string text = written([&](TextSink& sink) { write_point_placemark(sink, placemark); });
  EXPECT_EQ(text,
            "  <Placemark>\n"
            "    <TimeStamp>\n"
            "       <when>2008-01-05T00:07:03Z</when>\n"
            "    </TimeStamp>\n"
            "    <name>2008年1月5日(土) 09:07 (12.3km)</name>\n"
            "    <Snippet/>\n"
            "    <description><![CDATA[\n"
            "       <table>\n"
            "         <tr><td>2008年1月5日(土) 09:07.03 (12.3km)</td></tr>\n"
            "         <tr><td>18.5 km/h</td></tr>\n"
            "         <tr><td>Heading 124</td></tr>\n"
            "       </table>\n"
            "    ]]></description>\n"
            "    <LookAt>\n"
            "      <longitude>139.750000</longitude>\n"
            "      <latitude>35.668724</latitude>\n"
            "      <tilt>66</tilt>\n"
            "      <heading>124</heading>\n"
            "    </LookAt>\n"
            "    <styleUrl>#track_05</styleUrl>\n"
            "    <Point>\n"
            "      <altitudeMode>clampToGround</altitudeMode>\n"
            "      <extrude>0</extrude>\n"
            "      <tessellate>1</tessellate>\n"
            "      <coordinates>139.750000,35.668724,0</coordinates>\n"
            "    </Point>\n"
            "  </Placemark>\n");
}

TEST(KmlPointPlacemark, NameVariantsAndThePlainStyle) {
  const TrackPoint local = local_point();
  PointPlacemark placemark;
  placemark.local = &local;
  placemark.distance_km = 0.05f;
  struct Case {
    bool date, distance;
    const char* name;
  } cases[] = {
      {true, true, "    <name>2008年1月5日(土) 09:07 (0.1km)</name>\n"},
      {true, false, "    <name>2008年1月5日(土) 09:07</name>\n"},
      {false, true, "    <name>09:07 (0.1km)</name>\n"},
      {false, false, "    <name>09:07</name>\n"},
  };
  for (const Case& c : cases) {
    placemark.show_date = c.date;
    placemark.show_distance = c.distance;
    const std::string text =
        written([&](TextSink& sink) { write_point_placemark(sink, placemark); });
    EXPECT_EQ(text.rfind("  <Placemark>\n    <name>", 0), 0u) << "no time stamp expected";
    EXPECT_NE(text.find(c.name), std::string::npos) << c.name;
    // The description row keeps the date and the distance whatever the name shows.
    EXPECT_NE(text.find("<tr><td>2008年1月5日(土) 09:07.03 (0.1km)</td></tr>"), std::string::npos);
    EXPECT_NE(text.find("    <styleUrl>#track</styleUrl>\n"), std::string::npos);
  }
}

TEST(KmlPointPlacemark, NegativeCoordinatesAndCourse) {
  TrackPoint local = local_point();
  local.latitude = -33.5f;
  local.longitude = -70.25f;
  local.course = -12.0f;
  PointPlacemark placemark;
  placemark.local = &local;
  const std::string text = written([&](TextSink& sink) { write_point_placemark(sink, placemark); });
  EXPECT_NE(text.find("      <coordinates>-70.250000,-33.500000,0</coordinates>\n"),
            std::string::npos);
  EXPECT_NE(text.find("<tr><td>Heading -12</td></tr>"), std::string::npos);
  EXPECT_NE(text.find("      <heading>-12</heading>\n"), std::string::npos);
}

TEST(KmlPointsFolder, OpeningTimeSpanAndClosing) {
  TrackPoint first = local_point();
  TrackPoint last = local_point();
  last.year = 2009;
  last.month = 12;
  last.day = 31;
  last.hour = 23;
  last.minute = 59;
  last.second = 59;
  const std::string text = written([&](TextSink& sink) {
    write_points_folder_open(sink);
    write_time_span(sink, first, last);
    write_points_folder_close(sink);
  });
  EXPECT_EQ(text,
            "<Folder>\n"
            "  <name>Points</name>\n"
            "    <TimeSpan>\n"
            "       <begin>2008-01-05T09:07:03Z</begin>\n"
            "       <end>2009-12-31T23:59:59Z</end>\n"
            "    </TimeSpan>\n"
            "</Folder>\n");
}

TEST(KmlTracksFolder, LinesJoinAtTheSwitches) {
  TrackPoint a = local_point();
  TrackPoint b = a;
  b.longitude = 139.751f;
  const std::string text = written([&](TextSink& sink) {
    write_tracks_folder_open(sink);
    write_route_coordinate(sink, a);
    write_line_switch(sink, true, a);
    write_route_coordinate(sink, b);
    write_line_switch(sink, false, b);
    write_tracks_folder_close(sink);
  });
  EXPECT_EQ(text,
            "<Folder>\n"
            "  <name>Tracks</name>\n"
            "  <Placemark>\n"
            "  <name>path</name>\n"
            "  <styleUrl>#lineStyle</styleUrl>\n"
            "  <LineString>\n"
            "      <altitudeMode>clampToGround</altitudeMode>\n"
            "      <extrude>0</extrude>\n"
            "      <tessellate>1</tessellate>\n"
            "    <coordinates>\n"
            "139.750000,35.668724,0 \n"
            "    </coordinates>\n"
            "  </LineString>\n"
            "  </Placemark>\n"
            "  <Placemark>\n"
            "  <name>path(weak radio)</name>\n"
            "  <styleUrl>#lineStyle_dark</styleUrl>\n"
            "  <LineString>\n"
            "    <altitudeMode>clampToGround</altitudeMode>\n"
            "    <extrude>0</extrude>\n"
            "    <tessellate>1</tessellate>\n"
            "    <coordinates>\n"
            "139.750000,35.668724,0 139.751007,35.668724,0 \n"
            "    </coordinates>\n"
            "  </LineString>\n"
            "  </Placemark>\n"
            "  <Placemark>\n"
            "  <name>trackpath</name>\n"
            "  <styleUrl>#lineStyle</styleUrl>\n"
            "  <LineString>\n"
            "    <altitudeMode>clampToGround</altitudeMode>\n"
            "    <extrude>0</extrude>\n"
            "    <tessellate>1</tessellate>\n"
            "    <coordinates>\n"
            "139.751007,35.668724,0 \n"
            "    </coordinates>\n"
            "  </LineString>\n"
            "  </Placemark>\n"
            "</Folder>\n");
}

TEST(KmlPicturesFolder, PhotoPlacemarkWithAndWithoutTheLink) {
  PhotoPlacemark photo;
  photo.number = 3;
  photo.photo_path = "/home/me/写真/IMG_0001.JPG";
  photo.thumbnail_source = "trip_pics/sIMG_0001.JPG";
  photo.thumbnail_name = "sIMG_0001.JPG";
  photo.thumbnail_width = 128;
  photo.thumbnail_height = 96;
  photo.year = 2008;
  photo.month = 1;
  photo.day = 5;
  photo.hour = 9;
  photo.minute = 7;
  photo.second = 3;
  photo.latitude = 35.5f;
  photo.longitude = 139.25f;
  const std::string rest =
      "    </description>\n"
      "    <name>\n"
      "      <![CDATA[画像3]]>\n"
      "    </name>\n"
      "    <styleUrl>#PictureIcon</styleUrl>\n"
      "    <Point>\n"
      "      <altitudeMode>clampToGround</altitudeMode>\n"
      "      <extrude>0</extrude>\n"
      "      <tessellate>1</tessellate>\n"
      "      <coordinates>139.250000,35.500000,0</coordinates>\n"
      "    </Point>\n"
      "  </Placemark>\n";
  EXPECT_EQ(written([&](TextSink& sink) {
              write_pictures_folder_open(sink);
              write_photo_placemark(sink, photo);
              write_pictures_folder_close(sink);
            }),
            "<Folder>\n"
            "  <name>Pictures</name>\n"
            "  <Placemark>\n"
            "    <description>\n"
            "      <![CDATA[<div><img src=\"trip_pics/sIMG_0001.JPG\" width=\"128\" "
            "height=\"96\" border=\"0\" /></div><div>sIMG_0001.JPG</div><div>2008/01/05 "
            "09:07.03</div>]]>\n" +
                rest + "</Folder>\n");
  photo.embed_link = true;
  EXPECT_EQ(written([&](TextSink& sink) { write_photo_placemark(sink, photo); }),
            "  <Placemark>\n"
            "    <description>\n"
            "      <![CDATA[<div><a href=\"file:///home/me/写真/IMG_0001.JPG\"><img "
            "src=\"trip_pics/sIMG_0001.JPG\" width=\"128\" height=\"96\" border=\"0\" "
            "/></a></div><div>sIMG_0001.JPG</div><div>2008/01/05 09:07.03</div>]]>\n" +
                rest);
}

TEST(KmlEnd, ClosesDocumentAndKml) {
  EXPECT_EQ(written([](TextSink& sink) { write_kml_end(sink); }), "</Document>\n</kml>\n");
}

}  // namespace
}  // namespace tolvane
