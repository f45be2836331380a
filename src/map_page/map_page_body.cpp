#include "map_page/map_page_body.h"

#include <cmath>
#include <limits>

#include "core/text_format.h"
#include "core/time_helpers.h"
#include "platform/path_text.h"
#include "writing/markup_escape.h"

namespace tolvane {
namespace {

// Sizes from the settings are added as the 32-bit ints they are; a hand-edited huge value wraps
// around instead of overflowing.
int wrapping_sum(std::int32_t a, std::int32_t b, std::int32_t c) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b) +
                                   static_cast<std::uint32_t>(c));
}

}  // namespace

std::string marker_information_text(const TrackPoint& local, float distance_km) {
  char weekday[4];
  weekday_kanji(weekday, local.year, local.month, local.day);
  return format_text(
      "<strong>%d年%d月%d日(%s) %02d:%02d.%02d<br />(%.1f km)<br />%.1f km/h &nbsp; Heading "
      "%.0f<br /></strong>",
      local.year, local.month, local.day, weekday, local.hour, local.minute, local.second,
      static_cast<double>(distance_km), static_cast<double>(local.speed_kmh),
      static_cast<double>(local.course));
}

void write_marker(const MapPageSwitches& page, int heading_icon, const TrackPoint& local,
                  std::string_view information, int point_index, TextSink& out) {
  const double latitude = local.latitude;
  const double longitude = local.longitude;
  if (page.heading_icons) {
    out.format("    map.addOverlay(createMarker%d(new GLatLng(%.7f,%.7f),\"", heading_icon,
               latitude, longitude);
  } else {
    out.format("    map.addOverlay(createMarker(new GLatLng(%.7f,%.7f),\"", latitude, longitude);
  }
  out.write(information);
  out.format("\",%d));\n", point_index);
}

int whole_metres(float altitude) {
  if (std::isnan(altitude)) return 0;
  if (altitude >= 2147483648.0f) return std::numeric_limits<int>::max();
  if (altitude <= -2147483648.0f) return std::numeric_limits<int>::min();
  return static_cast<int>(altitude);
}

void write_track_point(const MapPageSwitches& page, const TrackPoint& local, float distance_km,
                       TextSink& out) {
  out.format("    points.push(new GLatLng(%.6f,%.6f));\n", static_cast<double>(local.latitude),
             static_cast<double>(local.longitude));
  if (!page.route) return;
  out.format(
      "    point_info.push(new String(\"%d/%02d/%02d %02d:%02d.%02d (%.1f km)<br />%.1f km/h "
      "&nbsp; Heading %.0f\"));\n",
      local.year, local.month, local.day, local.hour, local.minute, local.second,
      static_cast<double>(distance_km), static_cast<double>(local.speed_kmh),
      static_cast<double>(local.course));
  if (page.analog) out.format("    time_info.push(%d);\n", minute_of_day(local));
  if (page.altitude) out.format("    alt_info.push(%d);\n", whole_metres(local.altitude));
  out.line(0, {});
}

PolylineCutter::PolylineCutter(const ConversionSettings& settings, TextSink& out, bool record_gaps)
    : maps_(settings.google_maps),
      opacity_(settings.google_maps.line_alpha * 0.01),
      gaps_(ReceptionGaps::for_map_page(settings)),
      out_(out),
      record_gaps_(record_gaps) {}

void PolylineCutter::begin_log(bool restart) {
  if (!restart) return;
  gaps_.restart();
  start_ = count_;
}

void PolylineCutter::point_pushed(const TrackPoint& local) {
  ++count_;
  const LineSwitch change = gaps_.add(second_of_day(local));
  if (change == LineSwitch::kNone) return;
  // The stretch that ends runs up to the previous point, where the next one begins.
  if (count_ - start_ > 2) write_polyline(start_, count_ - 1, change == LineSwitch::kToNormal);
  start_ = count_ - 2;
}

void PolylineCutter::end_log(bool close) {
  if (!close) return;
  if (count_ - start_ > 1) write_polyline(start_, count_, gaps_.weak());
}

void PolylineCutter::write_polyline(int begin, int end, bool weak) {
  out_.format("    map.addOverlay(new GPolyline(points.slice(%d, %d),'#%s', %d, %.1f));\n\n", begin,
              end, weak ? maps_.noradio_line_color.c_str() : maps_.line_color.c_str(),
              maps_.line_width, opacity_);
  if (weak && record_gaps_) out_.format("    profile_gaps.push(%d, %d);\n\n", begin, end - 1);
}

void write_overlay_startup_and_head_end(const MapPageSwitches& page, TextSink& out) {
  if (page.route) {
    out.line(0, {});
    out.line(4, "Pointer = new CenterPointer();");
    out.line(4, "TimeView = new TimeViewer();");
    out.line(4, "map.addControl(Pointer);");
    out.line(4, "map.addControl(TimeView);");
    out.line(4, "show_overlay = 1;");
    out.line(4, "WriteInfo( point_info[0] )");
    if (page.analog) {
      out.line(4, "ClockView = new ClockViewer();");
      out.line(4, "map.addControl(ClockView);");
      out.line(4, "WriteClock( time_info[0] );");
    }
    if (page.altitude) {
      out.line(4, "AltView = new AltViewer();");
      out.line(4, "map.addControl(AltView);");
      out.line(4, "WriteAlt( alt_info[0] );");
    }
  }
  out.line(0, {});
  out.line(4, "} else {");
  out.line(
      4, "document.getElementById('map').innerHTML='お使いのブラウザでは地図を表示できません。';");
  out.line(4, "}");
  out.line(0, {});
  out.line(4, "}");
  out.line(0, {});
  out.line(4, "//]]>");
  out.line(4, "</script>");
  out.line(0, "</head>");
}

void write_body_start(std::string_view title, const MapPageSwitches& page,
                      const ConversionSettings& settings, TextSink& out) {
  const GoogleMapsSettings& maps = settings.google_maps;
  out.line(0, "<body onload=\"load()\" onunload=\"GUnload()\">");
  out.line(0, {});
  out.line(4, "<div id=\"title\">");
  out.line(4, "<p>");
  out.line(6, title);
  out.line(4, "</p>");
  out.line(4, "</div>");
  out.line(0, {});
  if (page.photos_present) {
    // The two spaces after this line's end indent the map line by six.
    out.format("    <div id=\"container\" style=\"width:%dpx;height:%dpx;\">\n  ",
               wrapping_sum(maps.xsize, settings.common.jpeg_larger_edge, 48), maps.ysize);
  }
  out.format("    <div id=\"map\" style=\"width:%dpx;height:%dpx;\"></div>\n", maps.xsize,
             maps.ysize);
}

void write_photo_frame_start(const ConversionSettings& settings, TextSink& out) {
  out.format("      <div id=\"photoframe\" style=\"width:%dpx;height:%dpx;\">\n",
             wrapping_sum(settings.common.jpeg_larger_edge, 48, 0), settings.google_maps.ysize);
}

void write_photo_block(const MapPageSwitches& page, const MapPhotoBlock& photo, TextSink& out) {
  // Each text is escaped for where it lands; plain names pass through unchanged.
  const std::string name = escape_html_attribute(photo.thumbnail_name);
  const std::string source = escape_html_attribute(escape_url_path(photo.thumbnail_path));
  // The alternative text shows the path as the caption shows the name.
  const std::string_view folder =
      photo.thumbnail_path.substr(0, find_last_separator(photo.thumbnail_path) + 1);
  const std::string alt =
      escape_html_attribute(utf8_display_text(folder) + std::string(photo.thumbnail_name));
  const std::string caption = escape_html_text(photo.thumbnail_name);
  out.line(6, "<p>");
  out.format(
      "        <a name=\"%s\" href=\"javascript:void(0)\" "
      "onclick=\"PlacePhotoMarker(%.6f,%.6f,%d,%d",
      name.c_str(), static_cast<double>(photo.latitude), static_cast<double>(photo.longitude),
      photo.point_index, photo.hour * 60 + photo.minute);
  if (page.photo_links) {
    // A URL in a JavaScript string in the onclick attribute.
    out.write(",'");
    out.write(escape_html_attribute(escape_js_string(photo.source_link)));
    out.format("',%d)\">\n", photo.width_percent);
  } else {
    out.write(")\">\n");
  }
  out.format("        <img src=\"%s\" alt=\"%s\" width=\"%d\" height=\"%d\"><br />\n",
             source.c_str(), alt.c_str(), photo.thumbnail_width, photo.thumbnail_height);
  out.line(8, "</a>");
  out.format("        %s<br />\n", caption.c_str());
  out.format("        %d/%02d/%02d %02d:%02d<br />\n", photo.year, photo.month, photo.day,
             photo.hour, photo.minute);
  out.line(6, "</p>");
}

void write_photo_frame_end(TextSink& out) {
  out.line(6, "</div>");
  out.line(4, "</div>");
}

void write_body_end(const MapPageSwitches& page, TextSink& out) {
  out.line(4, "<div style=\"clear:both;\"></div>");
  out.line(0, {});
  const bool linked_box = page.photos_present && page.photo_links;
  if (page.route || linked_box) {
    out.line(4, "<form name=\"control\" class=\"playroute\" action=\"javascript:void(0)\">");
    out.line(4, "<p>");
    if (page.route) {
      out.line(6,
               "<input type=\"button\" value=\"再生\" class=\"playbuttons\" "
               "onclick=\"playRoute()\" />");
      out.line(6,
               "<input type=\"button\" value=\"停止\" class=\"playbuttons\" "
               "onclick=\"stopRoute()\" />");
      out.line(6,
               "<input type=\"button\" value=\"早送り\" class=\"playbuttons\" "
               "onclick=\"FwdRoute()\" />");
      out.line(6,
               "<input type=\"button\" value=\"巻戻し\" class=\"playbuttons\" "
               "onclick=\"RwdRoute()\" />");
      out.line(6,
               "<input type=\"button\" value=\"出発点へ\" class=\"playbuttons\" "
               "onclick=\"rewindRoute()\" />");
      out.line(6, "<select id=\"playSpeed\" class=\"playbuttons\">");
      out.line(8, "<option value=\"128\">速く</option>");
      out.line(8, "<option value=\"256\">やや速く</option>");
      out.line(8, "<option value=\"512\" selected=\"selected\">標準</option>");
      out.line(8, "<option value=\"1024\">やや遅く</option>");
      out.line(8, "<option value=\"2048\">遅く</option>");
      out.line(6, "</select>");
      out.line(6,
               "<input type=\"button\" value=\"表示on/off\" class=\"playbuttons\" "
               "onclick=\"SwitchOverlay()\" />");
    }
    if (linked_box) {
      out.line(6,
               "<input type=\"checkbox\" name=\"linked\" value=\"linked\" checked=\"checked\" "
               "/>写真クリックで元画像表示");
    }
    out.line(4, "</p>");
    out.line(4, "</form>");
    out.line(0, {});
  }
  out.line(4, "<div id=\"copyright\">");
  out.line(4, "<p>");
  out.format("      <a href=\"%s\" target=\"_blank\">Tolvane</a>\n", kHomePageAddress);
  out.line(4, "</p>");
  out.line(4, "</div>");
  out.line(0, {});
  out.line(0, "</body>");
  out.line(0, "</html>");
}

}  // namespace tolvane
