// Escaping of names and paths for markup, script, URLs and CDATA.
#include "writing/markup_escape.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

TEST(MarkupEscape, LeavesPlainNamesByteForByte) {
  const std::string plain = "trip_pics/sDSC-0012.JPG";
  const std::string japanese = "写真/s旅行_01.jpg";
  for (const std::string& name : {plain, japanese}) {
    EXPECT_EQ(escape_html_text(name), name);
    EXPECT_EQ(escape_html_attribute(name), name);
    EXPECT_EQ(escape_js_string(name), name);
    EXPECT_EQ(escape_url_path(name), name);
    EXPECT_EQ(escape_cdata(name), name);
  }
}

TEST(MarkupEscape, CraftedNamesCannotBreakOut) {
  EXPECT_EQ(escape_html_text("x\"<y>&z.jpg"), "x\"&lt;y&gt;&amp;z.jpg");
  EXPECT_EQ(escape_html_attribute("a'b\"<>&"), "a&#39;b&quot;&lt;&gt;&amp;");
  EXPECT_EQ(escape_js_string("a'b\\c\"</script>"), "a\\'b\\\\c\\\"\\x3C/script>");
  EXPECT_EQ(escape_url_path("a b#c?d%e:f'g\"h.jpg"), "a%20b%23c%3Fd%25e%3Af%27g%22h.jpg");
  EXPECT_EQ(escape_url_path("a\\b"), "a%5Cb");
  // The child window's markup takes the address unescaped: no "&" may reach it.
  EXPECT_EQ(escape_url_path("R&amp;D&copy.jpg"), "R%26amp;D%26copy.jpg");
  EXPECT_EQ(escape_cdata("a]]>b]]>"), "a]]]]><![CDATA[>b]]]]><![CDATA[>");
  EXPECT_EQ(escape_cdata("]]"), "]]");
}

}  // namespace
}  // namespace tolvane
