#include "map_page/map_page_script.h"

#include <string>
#include <string_view>

namespace tolvane {
namespace {

// One overlay control: a GControl subclass whose element carries these styles. Empty values
// are styles the control does not set.
struct OverlayControl {
  std::string_view name;
  std::string_view element;  // "pointer", or the global "clock_pointer"
  bool global_element;
  int indent;  // of the "}" and prototype lines; the body sits two deeper
  std::string_view width, height, color, background_color, font;
  std::string_view border;
  std::string_view inner_html;
  std::string_view left, top;
};

constexpr OverlayControl kCenterPointer{
    "CenterPointer",
    "pointer",
    false,
    4,
    "32px",
    "32px",
    "red",
    "",
    "",
    "2px solid red",
    "<table class=\"centerpointer\"><tr><td "
    "style=\"text-align:center;vertical-align:middle;\">＋</td></tr></table>",
    "mapsize.width/2-16",
    "mapsize.height/2-16"};

constexpr OverlayControl kTimeViewer{
    "TimeViewer",
    "pointer",
    false,
    4,
    "214px",
    "32px",
    "brown",
    "#ffe0e0",
    "small Arial",
    "1px solid black",
    "<div id=\"time_value\" style=\"font:12px small Arial;font-weight:bold;\"></div>",
    "mapsize.width-224",
    "32"};

constexpr OverlayControl kClockViewer{"ClockViewer",
                                      "clock_pointer",
                                      true,
                                      4,
                                      "100px",
                                      "100px",
                                      "",
                                      "#e0e0ff",
                                      "small Arial",
                                      "1px solid black",
                                      "<div id=\"clock_value\"></div>",
                                      "mapsize.width-110",
                                      "78"};

constexpr OverlayControl kAltViewer{"AltViewer",
                                    "pointer",
                                    false,
                                    8,
                                    "50px",
                                    "100px",
                                    "#8000ff",
                                    "#e0ffff",
                                    "small Arial",
                                    "1px solid black",
                                    "<div id=\"alt_value\" style=\"font:12px small Arial\"></div>",
                                    "mapsize.width-60",
                                    "192"};

class ScriptWriter {
 public:
  ScriptWriter(const MapPageSwitches& page, const ConversionSettings& settings, TextSink& out)
      : page_(page), settings_(settings), out_(out) {}

  void write() {
    if (page_.route) {
      replay_group();
      overlay_group();
    }
    if (page_.photos_present) photo_marker_group();
    if (page_.photo_links) child_window_group();
  }

 private:
  void line(int indent, std::string_view text) { out_.line(indent, text); }
  void blank() { out_.line(0, {}); }
  // The closing "}" of a function and the empty line after it.
  void end_function(int indent = 4) {
    line(indent, "}");
    blank();
  }

  void replay_group() {
    line(4, "function playRoute() {");
    line(6, "if (points.length > 1 && !playing) {");
    line(8, "playing = true;");
    line(8, "goForward();");
    line(6, "}");
    end_function();

    line(4, "function goForward() {");
    line(6, "WriteInfo( point_info[playPoint] );");
    line(6, "map.panTo(points[playPoint]);");
    if (page_.analog) {
      line(6, "if ( prev_time != time_info[playPoint] ) {");
      line(8, "WriteClock( time_info[playPoint] );");
      line(6, "}");
    }
    if (page_.altitude) line(8, "WriteAlt( alt_info[playPoint] );");
    if (page_.profile) line(6, "profile.setCursor(playPoint);");
    line(6, "playPoint++;");
    line(6, "if ( playPoint >= points.length ) {");
    line(8, "window.clearTimeout(playTimer);");
    line(8, "playing=false;");
    line(6, "} else {");
    line(8,
         "playTimer=window.setTimeout(\"goForward()\",parseInt(document.getElementById("
         "\"playSpeed\").value));");
    line(6, "}");
    end_function();

    line(4, "function stopRoute() {");
    line(6, "if (points.length > 1 && playing) {");
    line(8, "window.clearTimeout(playTimer);");
    line(8, "playing=false;");
    line(6, "}");
    end_function();

    jump_function("function FwdRoute() {", "if ( playPoint + 20 < points.length ) {",
                  "playPoint += 20;");
    jump_function("function RwdRoute() {", "if ( playPoint - 20 >= 0 ) {", "playPoint -= 20;");

    line(4, "function rewindRoute() {");
    line(6, "if (points.length > 1) {");
    line(8, "playPoint=0;");
    line(8, "WriteInfo( point_info[playPoint] )");
    if (page_.analog) line(8, "WriteClock( time_info[playPoint] );");
    if (page_.altitude) line(8, "WriteAlt( alt_info[playPoint] );");
    line(8, "map.setCenter(points[playPoint]);");
    if (page_.profile) line(8, "profile.setCursor(playPoint);");
    line(6, "}");
    end_function();
    if (page_.profile) profile_jump();
  }

  // A click on the profile strip: the replay moves to the point as if it had stepped there.
  void profile_jump() {
    line(4, "function ProfileJump(index) {");
    line(6, "playPoint = index;");
    line(6, "WriteInfo( point_info[playPoint] );");
    if (page_.analog) line(6, "WriteClock( time_info[playPoint] );");
    if (page_.altitude) line(6, "WriteAlt( alt_info[playPoint] );");
    line(6, "map.panTo(points[playPoint]);");
    line(6, "profile.setCursor(playPoint);");
    end_function();
  }

  void jump_function(std::string_view head, std::string_view test, std::string_view step) {
    line(4, head);
    line(6, test);
    line(8, step);
    line(8, "if ( playing == false ) {");
    line(10, "WriteInfo( point_info[playPoint] );");
    if (page_.analog) line(10, "WriteClock( time_info[playPoint] );");
    if (page_.altitude) line(10, "WriteAlt( alt_info[playPoint] );");
    line(10, "map.panTo(points[playPoint]);");
    if (page_.profile) line(10, "profile.setCursor(playPoint);");
    line(8, "}");
    line(6, "}");
    end_function();
  }

  void overlay_group() {
    line(4, "function SwitchOverlay() {");
    line(6, "if ( show_overlay == 1 ) {");
    line(8, "map.removeControl(Pointer);");
    line(8, "map.removeControl(TimeView);");
    if (page_.analog) line(8, "map.removeControl(ClockView);");
    if (page_.altitude) line(8, "map.removeControl(AltView);");
    line(8, "show_overlay = 0;");
    line(6, "} else {");
    line(8, "show_overlay = 1;");
    line(8, "Pointer = new CenterPointer();");
    line(8, "TimeView = new TimeViewer();");
    line(8, "map.addControl(Pointer);");
    line(8, "map.addControl(TimeView);");
    line(8, "WriteInfo( point_info[playPoint] );");
    if (page_.analog) {
      line(8, "ClockView = new ClockViewer();");
      line(8, "map.addControl(ClockView);");
      line(8, "WriteClock( time_info[playPoint] );");
    }
    if (page_.altitude) {
      line(8, "AltView = new AltViewer();");
      line(8, "map.addControl(AltView);");
      line(8, "WriteAlt( alt_info[playPoint] );");
    }
    line(6, "}");
    end_function();

    control(kCenterPointer);
    control(kTimeViewer);

    line(4, "function WriteInfo( message ) {");
    line(6, "if ( show_overlay == 1) {");
    line(8, "document.getElementById(\"time_value\").innerHTML = message;");
    line(6, "}");
    end_function();

    if (page_.analog) {
      control(kClockViewer);
      dec2hex();
      write_clock();
    }
    if (page_.altitude) {
      control(kAltViewer);
      write_alt();
    }
  }

  void style(int indent, const OverlayControl& c, std::string_view property,
             std::string_view value) {
    if (value.empty()) return;
    text_.assign(c.element);
    text_.append(".style.").append(property).append(" = \"").append(value).append("\";");
    line(indent, text_);
  }

  void control(const OverlayControl& c) {
    const int outer = c.indent;
    const int inner = c.indent + 2;
    const std::string name(c.name);
    line(4, "function " + name + "() {");
    line(outer, "}");
    line(outer, name + ".prototype = new GControl();");
    line(outer, name + ".prototype.initialize = function(map) {");
    text_.assign(c.global_element ? "" : "var ");
    text_.append(c.element).append(" = document.createElement(\"div\");");
    line(inner, text_);
    style(inner, c, "width", c.width);
    style(inner, c, "height", c.height);
    style(inner, c, "color", c.color);
    style(inner, c, "backgroundColor", c.background_color);
    style(inner, c, "font", c.font);
    style(inner, c, "textAlign", "center");
    style(inner, c, "padding", "0px");
    style(inner, c, "marginBottom", "0px");
    style(inner, c, "border", c.border);
    text_.assign(c.element).append(".innerHTML = '").append(c.inner_html).append("';");
    line(inner, text_);
    text_.assign("map.getContainer().appendChild(").append(c.element).append(");");
    line(inner, text_);
    text_.assign("return ").append(c.element).append(";");
    line(inner, text_);
    line(outer, "}");
    line(outer, name + ".prototype.getDefaultPosition = function() {");
    line(inner, "var mapsize = map.getSize();");
    line(inner, "var left = " + std::string(c.left) + ";");
    line(inner, "var top = " + std::string(c.top) + ";");
    line(inner, "return new GControlPosition(G_ANCHOR_TOP_LEFT, new GSize(left, top));");
    end_function(outer);
  }

  void dec2hex() {
    line(4, "function dec2hex(dec) {");
    line(6, "var hex = \"\";");
    line(6, "var original = dec;");
    line(6, "while( dec ) {");
    line(8, "var last = dec & 15;");
    line(8, "hex = String.fromCharCode(((last>9)?55:48)+last) + hex;");
    line(8, "dec >>= 4;");
    line(6, "}");
    line(6, "if ( original < 15 ) {");
    line(8, "hex = \"0\" + hex;");
    line(6, "}");
    line(6, "return hex;");
    end_function();
  }

  void write_clock() {
    line(4, "function WriteClock(hour_min) {");
    line(6, "if ( show_overlay == 0 ) return;");
    blank();
    for (std::string_view constant :
         {"var centerx = 50;", "var centery = 50;", "var mojicolor=\"#0000ff\";",
          "var mojisize=12;", "var tencolor=\"#0000ff\";", "var tensize=8;",
          "var Hcolor=\"#9900ff\";", "var Mcolor=\"#cc00ff\";", "var Hspan=8;", "var Mspan=7;",
          "var Hsize=8;", "var Msize=6;", "var diamete=42;"}) {
      line(6, constant);
    }
    blank();
    for (std::string_view declaration :
         {"var jikan = 2;", "var i;", "var staX;", "var staY;", "var hour;", "var hourX;",
          "var hourY;", "var min;", "var minX;", "var minY;"}) {
      line(6, declaration);
    }
    blank();
    line(6, "var HTMLstring=\"\";");
    blank();

    line(6, "if (( hour_min <= 330 ) || ( hour_min >= 1110 )) {");
    line(8, "clock_pointer.style.backgroundColor = \"#e0e0ff\";");
    line(6, "} else {");
    line(8, "if (( hour_min >= 390 ) && ( hour_min <= 1050 )) {");
    line(10, "clock_pointer.style.backgroundColor = \"#ffff80\";");
    line(8, "} else {");
    line(10, "if ( hour_min < 390 ) {");
    line(12, "if ( hour_min <= 360 ) {");
    line(14,
         "clock_pointer.style.backgroundColor = \"#\"+ dec2hex( 224 + Math.floor( 31 * ( "
         "hour_min - 330 ) / 30 )) + dec2hex( 224 - Math.floor( 96 * ( hour_min - 330 ) / 30 "
         ")) + dec2hex( 255 - Math.floor( 254 * ( hour_min - 330 ) / 30 ));");
    line(12, "} else {");
    line(14,
         "clock_pointer.style.backgroundColor = \"#ff\"+ dec2hex( 128 + Math.floor( 128 * ( "
         "hour_min - 360 ) / 30 )) + dec2hex( 1 + Math.floor( 127 * ( hour_min - 360 ) / 30 "
         "));");
    line(12, "}");
    line(10, "} else {");
    line(12, "if ( hour_min <= 1080 ) {");
    line(14,
         "clock_pointer.style.backgroundColor = \"#ff\"+ dec2hex( 256 - Math.floor( 128 * ( "
         "hour_min - 1050 ) / 30 )) + dec2hex( 129 - Math.floor( 128 * ( hour_min - 1050 ) / "
         "30 ));");
    line(12, "} else {");
    line(14,
         "clock_pointer.style.backgroundColor = \"#\"+ dec2hex( 256 - Math.floor( 31 * ( "
         "hour_min - 1080 ) / 30 )) + dec2hex( 128 + Math.floor( 96 * ( hour_min - 1080 ) / 30 "
         ")) + dec2hex( 1 + Math.floor( 254 * ( hour_min - 1080 ) / 30 ));");
    line(12, "}");
    line(10, "}");
    line(8, "}");
    line(6, "}");
    blank();

    line(6, "hour = Math.floor( hour_min / 60 );");
    line(6, "min = hour_min - hour * 60;");
    blank();

    line(6, "for (i = 0; i < 12; i++ ) {");
    line(8, "staX = centerx + Math.cos( Math.PI * 2 / 12 * (i+1)) * diamete;");
    line(8, "staY = centery + Math.sin( Math.PI * 2 / 12 * (i+1)) * diamete;");
    line(8, "jikan++;");
    line(8, "jikan %= 12;");
    line(8,
         "HTMLstring += \"<div style='position:absolute;font:\"+mojisize+\"px small "
         "Arial;top:\"+(staY-6)+\"px;left:\"+(staX-3)+\"px;color:\"+mojicolor+\"'><b>\"+(jikan+"
         "1)+\"</b></DIV>\";");
    line(6, "}");
    blank();

    line(6,
         "HTMLstring += \"<div style='position:absolute;font-size:\"+tensize+\"px;top:\"+("
         "centery-2)+\"px;left:\"+(centerx-2)+\"px;color:\"+tencolor+\"'>●</div>\"");
    blank();

    line(6, "for ( i = 0; i < 3; i++ ) {");
    line(8,
         "hourX = centerx + Math.sin( Math.PI * 2 / 12 * (hour + min / 60 )) * ( i * Hspan + "
         "Hspan );");
    line(8,
         "hourY = centery - Math.cos( Math.PI * 2 / 12 * (hour + min / 60 )) * ( i * Hspan + "
         "Hspan );");
    line(8,
         "HTMLstring += \"<div style='position:absolute;font-size:\"+Hsize+\"px;top:\"+hourY+"
         "\"px;left:\"+hourX+\"px;color:\"+Hcolor+\"'>●</div>\"");
    line(6, "}");
    blank();

    line(6, "for ( i = 0; i < 5; i++ ) {");
    line(8, "minX = centerx + Math.sin( Math.PI * 2 / 60 * min ) * ( i * Mspan + Mspan );");
    line(8, "minY = centery - Math.cos( Math.PI * 2 / 60 * min ) * ( i * Mspan + Mspan );");
    line(8,
         "HTMLstring += \"<div style='position:absolute;font-size:\"+Msize+\"px;top:\"+minY+"
         "\"px;left:\"+minX+\"px;color:\"+Mcolor+\"'>●</div>\"");
    line(6, "}");
    blank();

    line(6, "document.getElementById(\"clock_value\").innerHTML = HTMLstring;");
    line(6, "prev_time = hour_min;");
    end_function();
  }

  void write_alt() {
    line(8, "function WriteAlt(alt) {");
    line(10, "if ( show_overlay == 0 ) return;");
    blank();
    line(10, "var HMpixel = 0.6;");
    blank();
    line(10, "var i;");
    line(10, "var j;");
    line(10, "var h;");
    line(10, "var y_pixel;");
    line(10,
         "var HTMLstring = \"<div style='position:absolute;font-size:12px;top:0px;left:24px'>"
         "<b>m</b></div>\";");
    line(4, "");
    line(10, "h = Math.floor( alt / 50 ) - 2;");
    line(4, "");
    line(10, "for ( i = h; i < h + 5; i++ ) {");
    line(12, "y_pixel = 42 + Math.floor(( alt - i * 50 ) * HMpixel );");
    line(12, "if (( y_pixel > 10 ) && ( y_pixel < 86 )) {");
    line(12,
         "HTMLstring += \"<div style='position:absolute;font:12px small Arial;top:\"+y_pixel+"
         "\"px;left:6px'>-<b>\"+(i*50)+\"</b>-</div>\";");
    line(12, "}");
    line(12, "for ( j = 0; j < 4; j++ ) {");
    line(14, "y_pixel += 6;");
    line(14, "if (( y_pixel > 6 ) && ( y_pixel < 88 )) {");
    line(16,
         "HTMLstring += \"<div style='position:absolute;font:12px small Arial;top:\"+y_pixel+"
         "\"px;left:6px'>-</div>\";");
    line(14, "}");
    line(12, "}");
    line(10, "}");
    blank();
    line(10,
         "HTMLstring += \"<div style='position:absolute;font-size:20px;top:40px;left:28px'><b>"
         "－</b></div>\"");
    blank();
    line(10, "document.getElementById(\"alt_value\").innerHTML = HTMLstring;");
    end_function(8);
  }

  void photo_marker_group() {
    if (page_.photo_links) {
      line(4,
           "function PlacePhotoMarker( lat, lon, num_point, hour_min, imgURL, width_percentage "
           ") {");
    } else {
      line(4, "function PlacePhotoMarker( lat, lon, num_point, hour_min ) {");
    }
    line(6, "if ( show_picture_icon == 1 ) {");
    line(8, "map.removeOverlay(PictureIconPointer);");
    line(8, "window.clearTimeout(PictureIconTimer);");
    line(8, "show_picture_icon = 0;");
    line(6, "}");
    line(6, "var NewPoint = new GLatLng(lat,lon);");
    line(6, "PictureIconPointer = new GMarker(NewPoint,picture_icon);");
    line(6, "map.addOverlay(PictureIconPointer);");
    line(6, "map.setCenter(NewPoint);");
    if (page_.route) {
      line(6, "playPoint = num_point;");
      line(6, "WriteInfo( point_info[playPoint] )");
      if (page_.analog) line(6, "WriteClock( hour_min );");
      if (page_.altitude) line(6, "WriteAlt( alt_info[playPoint] );");
    }
    line(6, "PictureIconTimer=window.setTimeout(\"RemovePhotoMarker()\",3000);");
    line(6, "show_picture_icon = 1;");
    if (page_.photo_links) {
      line(6, "if ( document.control.linked.checked ) {");
      line(10, "openwin( 'a', imgURL, width_percentage );");
      line(6, "}");
    }
    end_function();

    line(4, "function RemovePhotoMarker() {");
    line(8, "map.removeOverlay(PictureIconPointer);");
    line(8, "show_picture_icon = 0;");
    end_function();
  }

  void child_window_group() {
    line(4, "function win_closed(winVar) {");
    line(6, "var ua = navigator.userAgent");
    line(6, "if( !!winVar )");
    line(8, "if( ( ua.indexOf('Gecko')!=-1 || ua.indexOf('MSIE 4')!=-1 )");
    line(11, "&& ua.indexOf('Win')!=-1 ) ");
    line(11, "return winVar.closed");
    // Outside Windows a closed window may still hand out its document, so its `closed` flag is
    // asked as well; otherwise a photo click after the user closed the window shows nothing.
    line(8, "else return winVar.closed || typeof winVar.document  != 'object'");
    line(6, "else return true");
    end_function();

    const GoogleMapsSettings& maps = settings_.google_maps;
    line(4, "function openwin(targetName,imgURL,width_percentage){");
    line(6, "if ( win_closed( window.win1 )) {");
    out_.format(
        "        win1 = window.open('',targetName,\"top=0,left=0,width=%d,height=%d,resizable,"
        "scrollbars\");\n",
        maps.jpeg_child_window_width, maps.jpeg_child_window_height);
    line(6, "}");
    line(6, "var subwinhtm= \"<html lang='ja'><head>\"");
    for (std::string_view part :
         {"+ \"<meta http-equiv='Content-Type' content='text/html; charset=utf-8'>\"",
          "+ \"<title>写真画像（クリックで原寸大）</title>\"", "+ \"</head><body>\"",
          "+ \"<a href='\" + imgURL + \"'>\"",
          "+ \"<img src='\" + imgURL + \"' border='0' width='\"", "+ width_percentage", "+ \"%'>\"",
          "+ \"</a></body></html>\""}) {
      line(19, part);
    }
    line(6, "win1.document.write(subwinhtm)");
    line(6, "win1.document.close()");
    line(6, "win1.focus()");
    end_function();
  }

  const MapPageSwitches& page_;
  const ConversionSettings& settings_;
  TextSink& out_;
  std::string text_;
};

}  // namespace

void write_map_page_script(const MapPageSwitches& page, const ConversionSettings& settings,
                           TextSink& out) {
  ScriptWriter(page, settings, out).write();
}

}  // namespace tolvane
