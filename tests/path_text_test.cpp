// Path text and folders of the platform layer.
#include "platform/path_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/directories.h"

namespace tolvane {
namespace {
namespace fs = std::filesystem;

TEST(PathText, FindsTheLastSeparatorAndTheFileName) {
  EXPECT_EQ(find_last_separator("/home/user/DSC00012.JPG"), 10u);
  EXPECT_EQ(find_last_separator("DSC00012.JPG"), std::string_view::npos);
  EXPECT_EQ(file_name_of("/home/user/DSC00012.JPG"), "DSC00012.JPG");
  EXPECT_EQ(file_name_of("DSC00012.JPG"), "DSC00012.JPG");
  EXPECT_EQ(file_name_of("/home/user/"), "");
  EXPECT_EQ(file_name_of("/写真/旅行.jpg"), "旅行.jpg");
  EXPECT_EQ(native_to_utf8(fs::path("/写真/a b.jpg")), "/写真/a b.jpg");
}

TEST(PathText, NamesThatAreNotUtf8GetAValidForm) {
  // Well-formed UTF-8 of one to four bytes stays, byte for byte.
  const std::string valid = "a\u00E9\u5199\U0001F600.jpg";
  EXPECT_EQ(utf8_name_text(valid), valid);
  EXPECT_EQ(utf8_display_text(valid), valid);
  // Shift-JIS, an overlong "/", a surrogate, a code point above U+10FFFF, a character cut
  // short, and a lone continuation byte: each byte outside a character on its own.
  const std::string bad = "\x83\x65|\xC0\xAF|\xED\xA0\x80|\xF4\x90\x80\x80|\xE5\x86|\x80";
  EXPECT_EQ(utf8_name_text(bad), "%83e|%C0%AF|%ED%A0%80|%F4%90%80%80|%E5%86|%80");
  EXPECT_EQ(utf8_display_text(bad),
            "\uFFFDe|\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD\uFFFD|\uFFFD\uFFFD|"
            "\uFFFD");
  EXPECT_EQ(utf8_character_length("\xE5\x86\x99", 0), 3u);
  EXPECT_EQ(utf8_character_length("\xE5\x86", 0), 0u);
}

TEST(Directories, MakesFoldersAndTellsFilesFromFolders) {
  fs::path root = fs::temp_directory_path() / ("tolvane_dirs_" + std::to_string(::getpid()));
  fs::remove_all(root);
  ASSERT_TRUE(make_directory(root));
  EXPECT_TRUE(make_directory(root)) << "an existing folder is used";
  EXPECT_FALSE(make_directory(root / "missing" / "child"));
  std::ofstream(root / "file") << "x";
  EXPECT_FALSE(make_directory(root / "file")) << "a file is in the way";
  EXPECT_TRUE(file_exists(root / "file"));
  EXPECT_FALSE(file_exists(root)) << "a folder is not a file";
  EXPECT_FALSE(file_exists(root / "none"));
  fs::remove_all(root);
}

}  // namespace
}  // namespace tolvane
