// A conversion that is stopped leaves no trace: tolvane-convert sent SIGTERM, SIGHUP or SIGKILL
// in the middle of a large run keeps the earlier output byte for byte, leaves no temporary
// file, and the picture folder holds only whole thumbnails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "../tools/nmea_log_generator.h"
#include "test_support.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using tolvane::testing::read_file;
using tolvane::testing::write_file;

const fs::path kConverter = fs::path(TOLVANE_BINARY_DIR) / "tolvane-convert";

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// A JPEG file as a finished encoder leaves it: start and end markers in place.
bool whole_jpeg(const fs::path& path) {
  const std::string bytes = read_file(path);
  return bytes.size() > 4 && bytes.compare(0, 2, "\xFF\xD8") == 0 &&
         bytes.compare(bytes.size() - 2, 2, "\xFF\xD9") == 0;
}

class Interruption : public tolvane::testing::ScratchFolder {
 protected:
  static void TearDownTestSuite() {
    if (!shared_.empty()) fs::remove_all(shared_);
  }

  // Three days of fixes at 1 Hz (about 100 MB), made once for the tests here that need it.
  static fs::path big_log() {
    if (shared_.empty()) {
      shared_ = fs::temp_directory_path() / ("tolvane_interruption_" + std::to_string(::getpid()));
      fs::create_directories(shared_);
      std::FILE* out = std::fopen((shared_ / "three_days.log").c_str(), "wb");
      EXPECT_NE(out, nullptr);
      if (out == nullptr) return {};
      tolvane::tools::NmeaLogPlan plan;
      plan.seconds = 3 * 86400;
      plan.no_fix = {{40000, 40300}, {130000, 131000}};
      tolvane::tools::write_nmea_log(out, plan);
      EXPECT_EQ(std::fclose(out), 0);
    }
    return shared_ / "three_days.log";
  }

  // Starts the converter with `arguments`, its status lines going to a file of the folder;
  // through `launcher` (such as nohup) when one is given.
  void start(const std::vector<std::string>& arguments, const std::string& launcher = {}) {
    std::vector<std::string> all = {kConverter.string()};
    if (!launcher.empty()) all.insert(all.begin(), launcher);
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, status_file().c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(posix_spawn(&child_, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
  }

  // Waits until `ready` holds (the run has reached the moment to stop it), then sends `signal`
  // and waits for the converter's end; its wait status.
  int stop_when(const std::function<bool()>& ready, int signal) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::minutes(5);
    int status = 0;
    while (!ready()) {
      if (::waitpid(child_, &status, WNOHANG) == child_) {
        ADD_FAILURE() << "the run ended before it could be stopped:\n" << status_text();
        return status;
      }
      if (std::chrono::steady_clock::now() > give_up) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ::kill(child_, signal);
    ::waitpid(child_, &status, 0);
    return status;
  }

  // Sends `signal` once `ready` holds; the wait status, or -1 (the converter killed) when the
  // converter has not ended within `limit` of the signal.
  int stop_within(const std::function<bool()>& ready, int signal, std::chrono::seconds limit) {
    while (!ready()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(child_, signal);
    const auto give_up = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (::waitpid(child_, &status, WNOHANG) != child_) {
      if (std::chrono::steady_clock::now() > give_up) {
        ::kill(child_, SIGKILL);
        ::waitpid(child_, &status, 0);
        return -1;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status;
  }

  fs::path status_file() const { return folder_ / "status.txt"; }
  std::string status_text() const { return read_file(status_file()); }
  std::function<bool()> status_shows(const std::string& text) const {
    return [this, text] { return status_text().find(text) != std::string::npos; };
  }
  std::function<bool()> first_thumbnail_in(const fs::path& pictures) const {
    return [pictures] {
      std::error_code ec;
      return fs::is_directory(pictures, ec) && !fs::is_empty(pictures, ec);
    };
  }

  // 24 photos of 2400 x 1800 pixels without capture times, copies of one.
  std::vector<std::string> photos() {
    const fs::path folder = folder_ / "camera";
    fs::create_directories(folder);
    tolvane::testing::write_test_photo(folder / "first.jpg", 2400, 1800, "");
    std::vector<std::string> paths;
    for (int i = 0; i < 24; ++i) {
      const fs::path copy = folder / ("DSC" + std::to_string(1000 + i) + ".JPG");
      fs::copy_file(folder / "first.jpg", copy);
      paths.push_back(copy);
    }
    return paths;
  }

  // The picture folder holds only whole thumbnails of the given photos, and at least one.
  static void expect_only_whole_thumbnails(const fs::path& pictures,
                                           const std::vector<std::string>& photos) {
    std::set<std::string> expected;
    for (const std::string& photo : photos)
      expected.insert("s" + fs::path(photo).filename().string());
    const std::set<std::string> names = names_in(pictures);
    EXPECT_FALSE(names.empty());
    EXPECT_LT(names.size(), photos.size()) << "the run was not stopped in the photo stage";
    for (const std::string& name : names) {
      EXPECT_TRUE(expected.count(name)) << "not a thumbnail: " << name;
      EXPECT_TRUE(whole_jpeg(pictures / name)) << name;
    }
  }

  static inline fs::path shared_;
  pid_t child_ = -1;
};

TEST_F(Interruption, SigtermKeepsTheEarlierMapPageAndEndsByTheSignal) {
  const fs::path output = folder_ / "trip.html";
  write_file(output, "the earlier page\r\n");
  start({"-o", output, big_log()});
  const int status = stop_when(status_shows("ポイントアイコンを出力中"), SIGTERM);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(read_file(output), "the earlier page\r\n");
  EXPECT_EQ(names_in(folder_), (std::set<std::string>{"status.txt", "trip.html"}));
  const std::string said = status_text();
  EXPECT_NE(said.find("Tolvane: interrupted by SIGTERM; " + output.string() + " was not written\n"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find("処理を終了しました"), std::string::npos);
}

TEST_F(Interruption, SighupDuringThePhotoStageIsReportedEvenWhenQuiet) {
  const fs::path output = folder_ / "trip.kml";
  write_file(output, "the earlier document\r\n");
  const std::vector<std::string> shots = photos();
  std::vector<std::string> arguments = {
      "-q", "--jobs", "1", "-o", output, fs::path(TOLVANE_SOURCE_DIR) / "examples" / "example.log"};
  arguments.insert(arguments.end(), shots.begin(), shots.end());
  start(arguments);
  const int status = stop_when(first_thumbnail_in(folder_ / "trip_pics"), SIGHUP);
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGHUP);
  EXPECT_EQ(status_text(),
            "Tolvane: interrupted by SIGHUP; " + output.string() + " was not written\n");
  EXPECT_EQ(read_file(output), "the earlier document\r\n");
  EXPECT_EQ(names_in(folder_),
            (std::set<std::string>{"camera", "status.txt", "trip.kml", "trip_pics"}));
  expect_only_whole_thumbnails(folder_ / "trip_pics", shots);
}

TEST_F(Interruption, SigkillLeavesNoTemporaryFileWhereTheFileSystemAllowsIt) {
  // A file system without unnamed files keeps the named temporary file, as before.
  const int probe = ::open(folder_.c_str(), O_TMPFILE | O_WRONLY, 0600);
  if (probe < 0) GTEST_SKIP() << "no O_TMPFILE in " << folder_;
  ::close(probe);

  const fs::path output = folder_ / "trip.html";
  write_file(output, "the earlier page\r\n");
  start({"-o", output, big_log()});
  int status = stop_when(status_shows("ポイントアイコンを出力中"), SIGKILL);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(read_file(output), "the earlier page\r\n");
  EXPECT_EQ(names_in(folder_), (std::set<std::string>{"status.txt", "trip.html"}));

  const std::vector<std::string> shots = photos();
  std::vector<std::string> arguments = {"--jobs", "2", "-o", output,
                                        fs::path(TOLVANE_SOURCE_DIR) / "examples" / "example.log"};
  arguments.insert(arguments.end(), shots.begin(), shots.end());
  start(arguments);
  status = stop_when(first_thumbnail_in(folder_ / "trip_pics"), SIGKILL);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(read_file(output), "the earlier page\r\n");
  EXPECT_EQ(names_in(folder_),
            (std::set<std::string>{"camera", "status.txt", "trip.html", "trip_pics"}));
  expect_only_whole_thumbnails(folder_ / "trip_pics", shots);
}

TEST_F(Interruption, AHangupIgnoredAtTheStartStaysIgnored) {
  const fs::path output = folder_ / "trip.kml";
  write_file(output, "the earlier document\r\n");
  start({"-o", output, big_log()}, "/usr/bin/nohup");
  int status = 0;
  // SIGHUP twice: a stop would be followed by the end at once.
  while (!status_shows("GPSログファイルをチェック中")()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ::kill(child_, SIGHUP);
  ::kill(child_, SIGHUP);
  ::waitpid(child_, &status, 0);
  ASSERT_TRUE(WIFEXITED(status)) << status << "\n" << status_text();
  EXPECT_EQ(WEXITSTATUS(status), 0) << status_text();
  EXPECT_NE(status_text().find("処理を終了しました\n"), std::string::npos) << status_text();
  const std::string document = read_file(output);
  EXPECT_EQ(document.substr(document.size() - 8), "</kml>\r\n");
}

TEST_F(Interruption, ALogThatIsAPipeStillStopsAtOnce) {
  // A writer holds the pipe open and sends part of a log, then stalls; the reads wait.
  const fs::path pipe = folder_ / "receiver.log";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int writer = ::open(pipe.c_str(), O_RDWR);
  ASSERT_GE(writer, 0);
  const std::string part = "$GPGGA,120000,3540.0000,N,13945.0000,E,1,08,1.0,40.0,M,,,,*00\r\n$GPRM";
  ASSERT_EQ(::write(writer, part.data(), part.size()), static_cast<ssize_t>(part.size()));

  const fs::path output = folder_ / "trip.html";
  write_file(output, "the earlier page\r\n");
  start({"-o", output, pipe});
  const int status =
      stop_within(status_shows("GPSログファイルをチェック中"), SIGTERM, std::chrono::seconds(3));
  ::close(writer);
  ASSERT_NE(status, -1) << "not ended 3 s after SIGTERM";
  ASSERT_TRUE(WIFSIGNALED(status)) << status;
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
  EXPECT_EQ(status_text(), "GPSログファイルをチェック中\nTolvane: interrupted by SIGTERM; " +
                               output.string() + " was not written\n");
  EXPECT_EQ(read_file(output), "the earlier page\r\n");
  EXPECT_EQ(names_in(folder_), (std::set<std::string>{"receiver.log", "status.txt", "trip.html"}));
}

}  // namespace
