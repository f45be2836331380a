// Locale-free formatting and the CR LF text sink.
#include "core/text_format.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>

#include "writing/text_sink.h"

namespace tolvane {
namespace {

TEST(TextFormat, MatchesPrintfForTheConversionsTheOutputsUse) {
  const double values[] = {35.668724,           -139.5,     0.0, 0.05, 0.15, 0.25, 1e-7,
                           123456789.987654321, -0.0000004, 2.5, 3.5};
  const char* formats[] = {"%.06f", "%.6f", "%.7f", "%.1f", "%.0f", "%.2f", "%f"};
  for (const char* f : formats) {
    for (double v : values) {
      char expected[128];
      std::snprintf(expected, sizeof expected, f, v);
      EXPECT_EQ(format_text(f, v), expected) << f << " " << v;
    }
  }
  const int ints[] = {0, 5, -5, 59, 123, -1, 2147483647, -2147483647 - 1};
  const char* int_formats[] = {"%d", "%02d", "%03d", "%5d", "%-4d|"};
  for (const char* f : int_formats) {
    for (int v : ints) {
      char expected[64];
      std::snprintf(expected, sizeof expected, f, v);
      EXPECT_EQ(format_text(f, v), expected) << f << " " << v;
    }
  }
  EXPECT_EQ(format_text("%u|%s|%c|%%|%x", 4000000000u, "abc", 'z', 255u), "4000000000|abc|z|%|ff");
}

TEST(TextFormat, IgnoresTheProcessLocale) {
  const char* candidates[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
  const char* chosen = nullptr;
  for (const char* name : candidates) {
    if (std::setlocale(LC_NUMERIC, name)) {
      chosen = name;
      break;
    }
  }
  if (!chosen) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_EQ(format_text("%.6f", 35.668724), "35.668724");
  std::setlocale(LC_NUMERIC, "C");
}

TEST(TextSink, WritesEveryLineFeedAsCrLf) {
  std::FILE* f = std::tmpfile();
  ASSERT_NE(f, nullptr);
  {
    TextSink sink(f);
    sink.write("a\nb\n");
    sink.format("%d\n%s\n", 7, "x\ny");
    sink.line(4, "indented");
    EXPECT_TRUE(sink.flush());
  }
  std::rewind(f);
  std::string content;
  for (int c; (c = std::fgetc(f)) != EOF;) content.push_back(static_cast<char>(c));
  std::fclose(f);
  EXPECT_EQ(content, "a\r\nb\r\n7\r\nx\r\ny\r\n    indented\r\n");
}

}  // namespace
}  // namespace tolvane
