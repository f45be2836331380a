#include "map_page/map_page_head.h"

#include <string>

#include "map_page/builtin_map.h"
#include "map_page/map_page_script.h"

namespace tolvane {
namespace {

class HeadWriter {
 public:
  HeadWriter(const MapPageSwitches& page, const ConversionSettings& settings, TextSink& out)
      : page_(page), settings_(settings), out_(out) {}

  void prologue(std::string_view title) {
    line(0, "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    line(0,
         "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">");
    line(0,
         "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:v=\"urn:schemas-microsoft-com:vml\" "
         "lang=\"ja\" xml:lang=\"ja\">");
    line(0, "<head>");
    line(4, "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />");
    line(4, "<meta http-equiv=\"Content-Script-Type\" content=\"text/javascript\" />");
    line(4, "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\" />");
    out_.write("    <title>");
    out_.write(title);
    out_.write("</title>\n");
    line(4, "<style type=\"text/css\">");

    line(4, "v\\:*");
    line(4, "{");
    line(8, "behavior:url(#default#VML);");
    line(4, "}");
    rule("#title", {"font-size: medium;", "font-weight: bold;"});
    rule("#map", {"margin: 0px;", "float: left;"});
    if (page_.photos_present) {
      rule("#container", {"margin: 0px;"});
      rule("#photoframe", {"margin: 0px;", "float: left;", "overflow: auto;", "text-align: center;",
                           "font-size: small;"});
      rule("#photoframe img", {"border-width: 0pt;"});
    }
    rule("#copyright",
         {"font-size: small;", "font-weight: bold;", "font-family: \"Times New Roman\";"});
    if (page_.route) {
      rule(".centerpointer",
           {"width: 100%;", "height: 100%;", "color: red;", "font-size: 24px;",
            "font-family: \"ＭＳ Ｐゴシック\", Osaka, sans-serif;", "line-height: 100%;"});
    }
    line(4, "</style>");

    if (settings_.google_maps.builtin_map == 1) {
      write_builtin_map(settings_, out_);
      return;
    }
    out_.write("    <script src=\"");
    out_.write(kMapApiLoaderAddress);
    if (page_.use_key) {
      out_.write("&amp;key=");
      out_.write(settings_.google_maps.key);
    }
    out_.write("\" type=\"text/javascript\"></script>\n");
  }

  void globals() {
    line(4, "<script type=\"text/javascript\">");
    line(4, "//<![CDATA[");
    blank();
    line(4, "var map;");
    blank();
    if (page_.heading_icons) {
      for (int k = 0; k < 16; ++k) out_.format("    var icon%d;\n", k);
    } else {
      line(4, "var icon;");
    }
    if (page_.photos_present) line(4, "var picture_icon;");
    if (page_.photo_links) line(4, "var win1;");
    blank();
    line(4, "var points = new Array();");
    if (page_.profile) {
      line(4, "var profile;");
      line(4, "var profile_points = \"\";");
      line(4, "var profile_gaps = new Array();");
    }
    blank();
    if (page_.route) {
      line(4, "var playPoint = 0;");
      line(4, "var playTimer;");
      line(4, "var playing = false;");
      line(4, "var clock_pointer;");
      line(4, "var Pointer;");
      if (page_.analog) line(4, "var TimeView;");
      if (page_.altitude) line(4, "var AltView;");
      line(4, "var prev_time = 0;");
      line(4, "var show_overlay;");
      line(4, "var point_info = new Array();");
      if (page_.analog) {
        line(4, "var time_info = new Array();");
        blank();
      }
      if (page_.altitude) {
        line(4, "var alt_info = new Array();");
        blank();
      }
    }
    if (page_.photos_present) {
      line(4, "var show_picture_icon = 0;");
      line(4, "var PictureIconPointer;");
      blank();
      line(4, "var PictureIconTimer;");
      blank();
    }
  }

  void marker_factories() {
    if (page_.heading_icons) {
      for (int k = 0; k < 16; ++k) marker_factory(std::to_string(k));
    } else {
      marker_factory("");
    }
  }

  void load_opening(const MapPageTrack& track, int zoom) {
    line(4, "function load() {");
    line(4, "if ( GBrowserIsCompatible() ) {");
    line(4, "map = new GMap2(document.getElementById(\"map\"));");
    line(4, "map.addControl(new GLargeMapControl());");
    line(4, "map.addControl(new GMapTypeControl());");
    line(4, "map.addControl(new GScaleControl());");
    if (zoom == -1) {
      // Each bound is widened to double before the sum.
      const double min_lat = track.min_latitude;
      const double max_lat = track.max_latitude;
      const double min_lon = track.min_longitude;
      const double max_lon = track.max_longitude;
      out_.format(
          "    map.setCenter(new GLatLng(%.6f,%.6f),map.getBoundsZoomLevel(new GLatLngBounds(new "
          "GLatLng(%.6f,%.6f),new GLatLng(%.6f,%.6f))));\n",
          (min_lat + max_lat) * 0.5, (min_lon + max_lon) * 0.5, min_lat, min_lon, max_lat, max_lon);
    } else {
      out_.format("    map.setCenter(new GLatLng(%.6f,%.6f),%d);\n",
                  static_cast<double>(track.first_point.latitude),
                  static_cast<double>(track.first_point.longitude), zoom);
    }
    line(4, "map.setMapType(G_NORMAL_MAP);");
    line(4, "map.addControl(new GOverviewMapControl());");
    line(4, "map.enableDoubleClickZoom();");
    line(4, "new GKeyboardHandler(map);");
    blank();
  }

  void icon_definitions() {
    const int size = settings_.google_maps.icon_size;
    const int half = size / 2;
    if (page_.heading_icons) {
      const char* base = settings_.common.icon_url.c_str();
      for (int k = 0; k < 16; ++k) {
        out_.format("    icon%d = new GIcon();\n", k);
        out_.format("    icon%d.image = \"%s/pt%03d.png\";\n", k, base, k * 45 / 2);
        out_.format("    icon%d.iconSize = new GSize(%d, %d);\n", k, size, size);
        out_.format("    icon%d.iconAnchor = new GPoint(%d, %d);\n", k, half, half);
        out_.format("    icon%d.infoWindowAnchor = new GPoint(5, 1);\n", k);
        blank();
      }
    } else {
      line(4, "icon = new GIcon();");
      out_.format("    icon.image = \"%s\";\n", kStandardIconAddress);
      out_.format("    icon.iconSize = new GSize(%d, %d);\n", size, size);
      out_.format("    icon.iconAnchor = new GPoint(%d, %d);\n", half, half);
      line(4, "icon.infoWindowAnchor = new GPoint(5, 1);");
      blank();
    }
    if (page_.photos_present) {
      line(4, "picture_icon = new GIcon();");
      out_.format("    picture_icon.image = \"%s\";\n", kPhotoPinAddress);
      out_.format("    picture_icon.shadow = \"%s\";\n", kPhotoPinShadowAddress);
      line(4, "picture_icon.iconSize = new GSize(12, 20);");
      line(4, "picture_icon.shadowSize = new GSize(22, 20);");
      line(4, "picture_icon.iconAnchor = new GPoint(6, 20);");
      line(4, "picture_icon.infoWindowAnchor = new GPoint(5, 1);");
      blank();
    }
  }

 private:
  void line(int indent, std::string_view text) { out_.line(indent, text); }
  void blank() { out_.line(0, {}); }

  void rule(std::string_view selector, std::initializer_list<std::string_view> declarations) {
    out_.write("    ");
    out_.write(selector);
    out_.write(" {\n");
    for (std::string_view declaration : declarations) line(8, declaration);
    line(4, "}");
  }

  // `number` is the heading icon's number, or empty for the single factory.
  void marker_factory(const std::string& number) {
    line(4, "function createMarker" + number + "(point,message,icon_num) {");
    line(6, "var marker = new GMarker(point, icon" + number + ");");
    line(6, "GEvent.addListener(marker, 'click', function() {");
    if (page_.route) {
      line(8, "playPoint = icon_num;");
      line(8, "map.panTo(points[playPoint]);");
      line(8, "WriteInfo( point_info[playPoint] );");
      if (page_.analog) line(8, "WriteClock( time_info[playPoint] );");
      if (page_.altitude) line(8, "WriteAlt( alt_info[playPoint] );");
      if (page_.profile) line(8, "profile.setCursor(playPoint);");
    } else {
      line(8, "marker.openInfoWindowHtml(message);");
    }
    line(6, "});");
    line(6, "return marker;");
    line(4, "}");
    blank();
  }

  const MapPageSwitches& page_;
  const ConversionSettings& settings_;
  TextSink& out_;
};

}  // namespace

void write_map_page_head(std::string_view title, const MapPageTrack& track, int zoom,
                         const MapPageSwitches& page, const ConversionSettings& settings,
                         TextSink& out) {
  HeadWriter head(page, settings, out);
  head.prologue(title);
  head.globals();
  head.marker_factories();
  write_map_page_script(page, settings, out);
  head.load_opening(track, zoom);
  head.icon_definitions();
}

}  // namespace tolvane
