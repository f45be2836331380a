// tolvane-convert as a user runs it: exit codes, usage errors, settings on the command line.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

const fs::path kConverter = fs::path(TOLVANE_BINARY_DIR) / "tolvane-convert";
const fs::path kData = fs::path(TOLVANE_SOURCE_DIR) / "tests" / "data" / "kml";

using tolvane::testing::Outcome;
using tolvane::testing::quoted;
using tolvane::testing::read_file;
using tolvane::testing::run_shell;
using tolvane::testing::write_test_photo;

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("cli_test_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    ini_ = folder_ / "Tolvane.ini";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Runs the converter with `arguments` (already quoted as needed); stdin is empty. `locale`,
  // when given, replaces the locale variables of the environment ("LANG=en_US.UTF-8").
  Outcome run(const std::string& arguments, const std::string& locale = {}) {
    const fs::path out = folder_ / "stdout.txt";
    const fs::path err = folder_ / "stderr.txt";
    const std::string environment =
        locale.empty() ? std::string() : "env -u LC_ALL -u LC_MESSAGES -u LANG " + locale + " ";
    return run_shell(environment + quoted(kConverter.string()) + " " + arguments, out, err);
  }
  std::string with_settings(const std::string& arguments) {
    return "--settings " + quoted(ini_.string()) + " " + arguments;
  }

  fs::path folder_;
  fs::path ini_;
};

TEST_F(Cli, ConvertsToTheGoldenDocumentWithSettingsFromTheCommandLine) {
  const fs::path output = folder_ / "trip.kml";
  const Outcome outcome = run(with_settings(
      "--set Common.icon_url=http://example.org/icons -o " + quoted(output.string()) + " " +
      quoted((kData / "afternoon.log").string()) + " " + quoted((kData / "morning.log").string())));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(read_file(output), read_file(kData / "two_logs_default.kml"));
  // Status texts on stderr, one a line when stderr is no terminal; stdout stays empty.
  EXPECT_EQ(outcome.err,
            "GPSログファイルをチェック中\nポイントアイコンを出力中\n経路直線を出力中\n"
            "処理を終了しました\n");
  EXPECT_EQ(outcome.out, "");
  EXPECT_FALSE(fs::exists(ini_)) << "converting alone never writes the settings";
}

TEST_F(Cli, QuietRunPrintsNothingAndSettingsFileValuesApply) {
  {
    std::ofstream ini(ini_, std::ios::binary);
    ini << "[Common]\r\nicon_url=http://example.org/icons\r\nGMT=0\r\n"
        << "[GoogleEarth]\r\nembed_time=1\r\n";
  }
  const fs::path output = folder_ / "night.kml";
  const Outcome outcome = run(with_settings("-q -o " + quoted(output.string()) + " " +
                                            quoted((kData / "night.log").string())));
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.err, "");
  EXPECT_EQ(read_file(output), read_file(kData / "night.kml"));
}

TEST_F(Cli, AFailedRunExitsWithOneAndThePrefixedMessage) {
  const fs::path output = folder_ / "trip.kml";
  { std::ofstream(output) << "earlier"; }
  const Outcome outcome = run(with_settings("-q -o " + quoted(output.string()) + " " +
                                            quoted((folder_ / "absent.log").string())));
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.err, "Tolvane: 入力ファイルを開けません\n");
  EXPECT_EQ(read_file(output), "earlier");

  const Outcome no_folder = run(with_settings("-o " + quoted((folder_ / "no" / "x.kml").string()) +
                                              " " + quoted((kData / "morning.log").string())));
  EXPECT_EQ(no_folder.status, 1);
  EXPECT_NE(no_folder.err.find("Tolvane: 出力ファイルを作成できません\n"), std::string::npos);
}

TEST_F(Cli, UsageErrorsExitWithTwoAndAReason) {
  const std::string log = quoted((kData / "morning.log").string());
  const std::string out = quoted((folder_ / "x.kml").string());
  struct Case {
    std::string arguments;
    std::string reason;
  } cases[] = {
      {"", "no GPS log given"},
      {log, "no output given"},
      {"-o " + out + " --kml --html " + log, "--kml and --html"},
      {"-o " + out + " --kmz --html " + log, "--kmz and --html"},
      {"-o " + quoted((folder_ / "x.Kmz").string()) + " --html " + log, ".kmz"},
      {"-o " + out + " --html " + log, "--html cannot write a .kml output"},
      {"-o " + out + " photo.JPG a.jpeg", "no GPS log given"},
      {"-o " + out + " --jobs 0 " + log, "--jobs"},
      {"-o " + out + " --set GoogleEarth.nothing=1 " + log, "--set names no setting"},
      {"-o " + out + " --set GoogleEarth.mode " + log, "--set needs Section.key=VALUE"},
      {"-o " + out + " --frobnicate " + log, "frobnicate"},
      {"-o", "output"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(with_settings(c.arguments));
    EXPECT_EQ(outcome.status, 2) << c.arguments;
    EXPECT_NE(outcome.err.find(c.reason), std::string::npos) << c.arguments << "\n" << outcome.err;
    EXPECT_NE(outcome.err.find("Usage: tolvane-convert [options] -o OUTPUT FILE..."),
              std::string::npos);
    EXPECT_FALSE(fs::exists(folder_ / "x.kml"));
    EXPECT_FALSE(fs::exists(folder_ / "x.Kmz"));
  }
  EXPECT_FALSE(fs::exists(ini_));
}

TEST_F(Cli, HelpAndVersionExitWithZero) {
  const Outcome help = run("--help");
  EXPECT_EQ(help.status, 0);
  for (const char* option : {"--output", "--kml", "--html", "--settings", "--set",
                             "--save-settings", "--quiet", "--version"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const Outcome version = run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tolvane-convert ") + TOLVANE_VERSION + "\n");
}

TEST_F(Cli, SaveSettingsAloneWritesAllKeysAfterSet) {
  const Outcome outcome =
      run(with_settings("--set GoogleEarth.mode=5 --set Common.GMT=5.75 --save-settings"));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  const std::string ini = read_file(ini_);
  EXPECT_EQ(ini.rfind("[Common]\r\nconcate=1\r\n", 0), 0u) << ini;
  EXPECT_NE(ini.find("\r\nGMT=5.8\r\n"), std::string::npos);
  EXPECT_NE(ini.find("[GoogleEarth]\r\nday_hourly=1\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\nmode=5\r\n"), std::string::npos);
  EXPECT_NE(ini.find("\r\njpeg_child_window_height=680\r\n"), std::string::npos);
  std::size_t keys = 0;
  for (std::size_t at = ini.find("\r\n"); at != std::string::npos; at = ini.find("\r\n", at + 1))
    ++keys;
  EXPECT_EQ(keys, 62u + 3u);  // every key and the three section lines

  // The saved value is then the one a later conversion uses: mode 0 writes no Points folder.
  const fs::path output = folder_ / "trip.kml";
  EXPECT_EQ(
      run(with_settings("--set GoogleEarth.mode=0 --save-settings -q -o " +
                        quoted(output.string()) + " " + quoted((kData / "morning.log").string())))
          .status,
      0);
  EXPECT_NE(read_file(ini_).find("\r\nmode=0\r\n"), std::string::npos);
  EXPECT_EQ(read_file(output).find("<name>Points</name>"), std::string::npos);
}

TEST_F(Cli, OutputKindFollowsTheExtensionUnlessChosen) {
  // An output without a known extension follows Common.kml_or_html; --kml overrides it.
  const fs::path output = folder_ / "trip.out";
  const std::string log = quoted((kData / "morning.log").string());
  const Outcome kml = run(with_settings("-q --kml --set Common.kml_or_html=1 -o " +
                                        quoted(output.string()) + " " + log));
  EXPECT_EQ(kml.status, 0) << kml.err;
  EXPECT_EQ(read_file(output).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<kml", 0), 0u);
  const fs::path upper = folder_ / "TRIP.KML";
  EXPECT_EQ(
      run(with_settings("-q --set Common.kml_or_html=1 -o " + quoted(upper.string()) + " " + log))
          .status,
      0);
  EXPECT_NE(read_file(upper).find("<kml xmlns"), std::string::npos);

  // A KMZ archive: by the extension in any case (over Common.kml_or_html), or asked for.
  const fs::path archive = folder_ / "TRIP.KMZ";
  const fs::path asked = folder_ / "trip.zip";
  EXPECT_EQ(
      run(with_settings("-q --set Common.kml_or_html=1 -o " + quoted(archive.string()) + " " + log))
          .status,
      0);
  EXPECT_EQ(run(with_settings("-q --kmz -o " + quoted(asked.string()) + " " + log)).status, 0);
  for (const fs::path& zip : {archive, asked}) {
    EXPECT_EQ(read_file(zip).rfind("PK\x03\x04\x14", 0), 0u) << zip;
    EXPECT_NE(read_file(zip).find("doc.kml"), std::string::npos) << zip;
  }
}

TEST_F(Cli, PhotosAmongTheFilesAreReducedAndPlacedOnTheTrack) {
  const fs::path output = folder_ / "trip.html";
  const fs::path shot = folder_ / "shot.JPEG";
  // A photo without a capture time sits on the first point.
  write_test_photo(shot, 40, 30, "");
  const Outcome outcome =
      run(with_settings("-q --jobs 1 -o " + quoted(output.string()) + " " + quoted(shot.string()) +
                        " " + quoted((kData / "morning.log").string())));
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(read_file(output).find("<a name=\"sshot.JPEG\""), std::string::npos);
  EXPECT_TRUE(fs::exists(folder_ / "trip_pics" / "sshot.JPEG"));
}

TEST_F(Cli, AnOutputWithTheLongestNameIsReplacedAgain) {
  // A name of 255 bytes, as long as a file name can be, and one of 83 Japanese characters.
  const std::string logs =
      quoted((kData / "afternoon.log").string()) + " " + quoted((kData / "morning.log").string());
  std::string japanese;
  for (int i = 0; i < 83; ++i) japanese += "経";
  for (const std::string& name : {std::string(251, 'x') + ".kml", japanese + ".kml"}) {
    const fs::path output = folder_ / name;
    for (int run_number = 1; run_number <= 2; ++run_number) {
      const Outcome outcome =
          run(with_settings("-q --set Common.icon_url=http://example.org/icons -o " +
                            quoted(output.string()) + " " + logs));
      EXPECT_EQ(outcome.status, 0) << name.size() << " bytes, run " << run_number << outcome.err;
      EXPECT_EQ(read_file(output), read_file(kData / "two_logs_default.kml"));
    }
    fs::remove(output);
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2)
      << "only stdout.txt and stderr.txt";
}

TEST_F(Cli, OnAFatFileSystemTheLongestNameIsReplacedAgain) {
  // FAT, as on USB sticks, has no unnamed files: the output is written under a hidden name.
  const fs::path image = folder_ / "stick.img";
  const fs::path stick = folder_ / "stick";
  fs::create_directories(stick);
  if (std::system(("truncate -s 16M " + quoted(image.string()) + " && mkfs.vfat " +
                   quoted(image.string()) + " >/dev/null 2>&1")
                      .c_str()) != 0) {
    GTEST_SKIP() << "mkfs.vfat could not make a FAT image (dosfstools)";
  }
  if (std::system(("mount -o loop " + quoted(image.string()) + " " + quoted(stick.string()) +
                   " 2>/dev/null")
                      .c_str()) != 0) {
    GTEST_SKIP() << "a FAT image cannot be mounted here (root, a loop device and vfat needed)";
  }
  struct Unmount {
    std::string command;
    ~Unmount() { EXPECT_EQ(std::system(command.c_str()), 0); }
  } unmount{"umount " + quoted(stick.string())};

  const fs::path output = stick / (std::string(251, 'x') + ".kml");
  for (int run_number = 1; run_number <= 2; ++run_number) {
    const Outcome outcome = run(
        with_settings("-q --set Common.icon_url=http://example.org/icons -o " +
                      quoted(output.string()) + " " + quoted((kData / "afternoon.log").string()) +
                      " " + quoted((kData / "morning.log").string())));
    EXPECT_EQ(outcome.status, 0) << "run " << run_number << outcome.err;
    EXPECT_EQ(read_file(output), read_file(kData / "two_logs_default.kml"));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(stick), fs::directory_iterator()), 1)
      << "a temporary file was left";
}

// --stats prints the numbers on stdout (also with -q) in the run's order of the logs; alone it
// writes nothing else, with -o it converts as well.
TEST_F(Cli, StatsPrintsTheTableAndConvertsOnlyWithAnOutput) {
  const std::string logs =
      quoted((kData / "afternoon.log").string()) + " " + quoted((kData / "morning.log").string());
  const Outcome alone = run(with_settings("-q --stats " + logs));
  EXPECT_EQ(alone.status, 0) << alone.err;
  EXPECT_EQ(alone.err, "");
  EXPECT_EQ(alone.out.rfind("date\tstart\tend\tdistance_km\t", 0), 0u) << alone.out;
  const std::size_t total = alone.out.find("\ntotal\t");
  ASSERT_NE(total, std::string::npos) << alone.out;
  EXPECT_EQ(alone.out.find('\n', total + 1), alone.out.size() - 1) << "total is the last line";
  for (const auto& entry : fs::directory_iterator(folder_)) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name == "stdout.txt" || name == "stderr.txt") << name << " written";
  }

  const fs::path output = folder_ / "trip.kml";
  const Outcome both =
      run(with_settings("-q --stats --set Common.icon_url=http://example.org/icons -o " +
                        quoted(output.string()) + " " + logs));
  EXPECT_EQ(both.status, 0) << both.err;
  EXPECT_EQ(both.out, alone.out);
  EXPECT_EQ(read_file(output), read_file(kData / "two_logs_default.kml"));

  const Outcome missing =
      run(with_settings("--stats " + quoted((folder_ / "absent.log").string())));
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "");
  EXPECT_NE(missing.err.find("absent.log"), std::string::npos) << missing.err;
}

TEST_F(Cli, MessagesFollowTheLanguageAndOutputsDoNot) {
  // A missing log: English for an English locale or the setting, Japanese for a Japanese locale
  // and for C.
  const std::string missing = "-q -o " + quoted((folder_ / "x.kml").string()) + " " +
                              quoted((folder_ / "absent.log").string());
  struct Case {
    std::string locale, arguments, error;
  } cases[] = {
      {"LANG=en_US.UTF-8", missing, "Tolvane: Cannot open an input file\n"},
      {"LANG=ja_JP.UTF-8", missing, "Tolvane: 入力ファイルを開けません\n"},
      {"LC_ALL=C.UTF-8 LANG=en_US.UTF-8", missing, "Tolvane: 入力ファイルを開けません\n"},
      {"LANG=ja_JP.UTF-8", "--set Common.ui_language=en " + missing,
       "Tolvane: Cannot open an input file\n"},
  };
  for (const Case& c : cases) {
    const Outcome outcome = run(with_settings(c.arguments), c.locale);
    EXPECT_EQ(outcome.status, 1) << c.locale;
    EXPECT_EQ(outcome.err, c.error) << c.locale;
  }

  // The documents are the same bytes in either language, the status lines are not.
  const std::string logs =
      quoted((kData / "afternoon.log").string()) + " " + quoted((kData / "morning.log").string());
  std::string pages[2];
  const char* locales[] = {"LANG=ja_JP.UTF-8", "LANG=en_US.UTF-8"};
  for (int i = 0; i < 2; ++i) {
    const fs::path kml = folder_ / "trip.kml";
    const fs::path page = folder_ / "trip.html";
    const Outcome written = run(with_settings("--set Common.icon_url=http://example.org/icons -o " +
                                              quoted(kml.string()) + " " + logs),
                                locales[i]);
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_NE(written.err.find(i == 0 ? "処理を終了しました" : "Finished"), std::string::npos);
    EXPECT_EQ(read_file(kml), read_file(kData / "two_logs_default.kml")) << locales[i];
    EXPECT_EQ(run(with_settings("-q -o " + quoted(page.string()) + " " + logs), locales[i]).status,
              0);
    pages[i] = read_file(page);
  }
  EXPECT_FALSE(pages[0].empty());
  EXPECT_EQ(pages[1], pages[0]);
}

}  // namespace
