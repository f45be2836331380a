// Code page 932 to UTF-8: the decoder's table, the per-unit UTF-8 encoding and the locale.
#include "writing/utf8_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <thread>
#include <vector>

#include "platform/text_encoding.h"

namespace tolvane {
namespace {
using namespace std::string_literals;

std::string utf8(const char* cp932) { return to_utf8(cp932); }

TEST(Utf8Text, AsciiPathsComeBackByteForByte) {
  const char* path = "C:\\maps\\trip_pics\\sDSC00012.JPG ~!#$%&'()=-^@[];:,./";
  std::size_t length = 99;
  EXPECT_EQ(to_utf8(path, &length), path);
  EXPECT_EQ(length, std::string(path).size());

  length = 99;
  std::string empty = to_utf8("", &length);
  EXPECT_EQ(empty, "");
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(empty.c_str()[0], '\0');
  EXPECT_EQ(to_utf8(nullptr), "");
}

TEST(Utf8Text, DecodesWithMicrosoftsTable) {
  EXPECT_EQ(utf8("\x93\xFA\x96\x7B"), "日本");          // kanji: two bytes to three
  EXPECT_EQ(utf8("\xB1\xDF"), "\uFF71\uFF9F");          // half-width katakana: one byte to three
  EXPECT_EQ(utf8("\x83\x9F\x84\x40"), "\u0391\u0410");  // Greek and Cyrillic: two bytes
  EXPECT_EQ(utf8("\x5C\x7E"), "\\~");                   // the backslash and tilde stay ASCII
  EXPECT_EQ(utf8("\x81\x5F\x81\x60\x81\x7C"), "\uFF3C\uFF5E\uFF0D");
  EXPECT_EQ(utf8("\x81\x91\x81\xCA"), "\uFFE0\uFFE2");
  EXPECT_EQ(utf8("\x87\x40\x87\x90"), "\u2460\u2252");                // NEC row 13
  EXPECT_EQ(utf8("\xED\x40\xFA\x40\xFA\x54"), "\u7E8A\u2170\uFFE2");  // NEC-selected and IBM
  EXPECT_EQ(utf8("\xF0\x40"), "\uE000");                              // user-defined area
  // A second byte equal to the backslash byte belongs to its character.
  EXPECT_EQ(utf8("\x95\x5C\\x"), "表\\x");
  std::size_t length = 0;
  to_utf8("a\x93\xFA\xB1", &length);
  EXPECT_EQ(length, 7u);
}

TEST(Utf8Text, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(utf8("a\x80"
                 "b"),
            "a\uFFFDb");
  EXPECT_EQ(utf8("a\xA0\xFD"
                 "b"),
            "a\uFFFD\uFFFDb");
  EXPECT_EQ(utf8("x\x81"), "x\uFFFD");  // a lead byte cut off by the end
  EXPECT_EQ(utf8("\x81\x20"
                 "b"),
            "\uFFFD b");  // a lead byte without a trail byte
  EXPECT_EQ(decode_cp932(std::string_view("\x93\xFA\0\x41", 4)), u"日\0A"s);
}

TEST(Utf8Text, EncodesEachUnitByItself) {
  const char16_t units[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0xD83D, 0xDE00, 0xFFFF};
  std::string expected = "A\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\xA0\xBD\xED\xB8\x80\xEF\xBF\xBF";
  EXPECT_EQ(utf16_to_utf8(nullptr, units, 8, true), expected.size());
  std::string out(expected.size() + 3, '\x55');
  EXPECT_EQ(utf16_to_utf8(out.data(), units, 8, true), expected.size());
  EXPECT_EQ(out, std::string(expected.size() + 3, '\x55')) << "count only writes nothing";
  EXPECT_EQ(utf16_to_utf8(out.data(), units, 8, false), expected.size());
  EXPECT_EQ(out.substr(0, expected.size()), expected);
  EXPECT_EQ(out[expected.size()], '\0');
  EXPECT_EQ(out[expected.size() + 1], '\x55');
}

TEST(Utf8Text, ToWideGivesTwiceTheByteLengthAndNothingForNoText) {
  std::size_t bytes = 0;
  std::optional<std::u16string> wide = to_wide("a\x93\xFA", &bytes);
  ASSERT_TRUE(wide);
  EXPECT_EQ(*wide, u"a日");
  EXPECT_EQ(bytes, 6u);
  EXPECT_FALSE(to_wide(nullptr, &bytes));
}

TEST(Utf8Text, LeavesTheProcessLocaleAloneAndRunsOnManyThreads) {
  std::string before = std::setlocale(LC_ALL, nullptr);
  std::vector<std::thread> threads;
  std::vector<int> failures(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&failures, t] {
      for (int i = 0; i < 200; ++i) {
        if (to_utf8("D:\\\x8E\xCA\x90\x5E\\\xB6\xD2\xD7.jpg") != "D:\\写真\\ｶﾒﾗ.jpg") ++failures[t];
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures, std::vector<int>(4, 0));
  EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
}

}  // namespace
}  // namespace tolvane
