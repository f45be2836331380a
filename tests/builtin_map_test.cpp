// The page's own map layer as the head carries it: Leaflet unchanged with its notice, the layer,
// and settings that cannot end the script or the page's CDATA section.
#include "map_page/builtin_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "map_page/inline_script.h"
#include "map_page_test_support.h"
#include "writing/embedded_files.h"

namespace tolvane {
namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The text with CR LF line ends, as the page holds it.
std::string crlf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

std::string text_of(const EmbeddedFile* file) {
  return file ? std::string(reinterpret_cast<const char*>(file->bytes.data()), file->bytes.size())
              : std::string();
}

TEST(InlineScript, NothingCanEndTheElementTheStringOrTheCdataSection) {
  EXPECT_EQ(inline_element_text("a</script>b</SCRIPT x</style<!--c]]>d</scripted", "script"),
            "a<\\/script>b<\\/SCRIPT x</style<\\!--c]] >d<\\/scripted");
  EXPECT_EQ(inline_element_text("p</Style>]]", "style"), "p<\\/Style>]]");
  EXPECT_EQ(script_string_literal("a\"b'c\\d</script>&e\n\x7f\xe2\x80\xa8\xe2\x80\xa9\xe6\x97\xa5"),
            "\"a\\u0022b\\u0027c\\u005cd\\u003c/script\\u003e\\u0026e\\u000a\\u007f\\u2028\\u2029"
            "\xe6\x97\xa5\"");
  // A lone lead byte at the end stays as it is.
  EXPECT_EQ(script_string_literal("\xe2\x80"), "\"\xe2\x80\"");
}

TEST(BuiltInMap, CarriesLeafletUnchangedWithItsNoticeAndTheLayer) {
  ConversionSettings settings;
  settings.google_maps.tile_url = "https://t/{z}/{x}/{y}.png?a=\"</SCRIPT>";
  settings.google_maps.labels_url = "]]><!--";
  settings.google_maps.tile_max_zoom = 25;  // the sources' deepest zooms: the nearest bound
  settings.google_maps.satellite_max_zoom = -2147483647 - 1;
  const std::string head =
      testing::capture([&](TextSink& out) { write_builtin_map(settings, out); });
  const std::string leaflet = text_of(find_embedded_file(leaflet_files(), "leaflet.min.js"));
  const std::string style = text_of(find_embedded_file(leaflet_files(), "leaflet.css"));
  ASSERT_GT(leaflet.size(), 100000u);
  EXPECT_EQ(inline_element_text(leaflet, "script"), leaflet) << "Leaflet needs no escape";
  EXPECT_NE(head.find(crlf(leaflet)), std::string::npos);
  EXPECT_NE(head.find(crlf(style)), std::string::npos);
  EXPECT_NE(head.find("Leaflet 1."), std::string::npos);
  EXPECT_NE(head.find("Redistributions of source code must retain"), std::string::npos);
  for (const EmbeddedFile& file : map_layer_files()) {
    EXPECT_NE(head.find(crlf(text_of(&file))), std::string::npos) << file.name;
  }
  // Three elements, each ended once; nothing inside can end one early or close the CDATA.
  const std::string low = lower(head);
  std::size_t scripts = 0;
  for (std::size_t at = low.find("</script"); at != std::string::npos;
       at = low.find("</script", at + 1)) {
    ++scripts;
  }
  EXPECT_EQ(scripts, 2u);
  EXPECT_EQ(low.find("</style"), low.rfind("</style"));
  std::size_t cdata_ends = 0;
  for (std::size_t at = head.find("]]>"); at != std::string::npos; at = head.find("]]>", at + 1)) {
    ++cdata_ends;
  }
  EXPECT_EQ(cdata_ends, 3u);
  EXPECT_EQ(head.find("<!--"), std::string::npos);
  EXPECT_NE(head.find("\r\n  tileMaxZoom: 19,\r\n  satelliteMaxZoom: 0,\r\n"), std::string::npos);
  // Every image the layer stands in for, as its own copy.
  for (const EmbeddedFile& file : map_icon_files()) {
    EXPECT_NE(head.find("\"" + std::string(file.name) + "\": \"data:image/png;base64,"),
              std::string::npos)
        << file.name;
  }
}

}  // namespace
}  // namespace tolvane
