// The KML run end to end: golden documents, the order of status texts and messages, and
// failures that leave an earlier output as it was.
#include "kml/kml_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/run_messages.h"
#include "core/text_format.h"
#include "test_support.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;

const fs::path kData = fs::path(TOLVANE_SOURCE_DIR) / "tests" / "data" / "kml";

using testing::read_file;
using testing::RecordingView;
using testing::write_file;

std::string status(const char* text) { return std::string("status ") + text; }
std::string error(const char* text) { return std::string("error ") + text; }

class KmlRun : public testing::ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    settings_.common.icon_url = "http://example.org/icons";
  }

  RunResult run(const std::vector<fs::path>& logs, const fs::path& output) {
    input_.log_paths = logs;
    input_.output_path = output;
    return convert_to_kml(input_, settings_, view_);
  }
  std::vector<std::string> files_in_folder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  ConversionSettings settings_;
  ConversionInput input_;
  RecordingView view_;
};

// Compares with tests/data/kml/NAME byte for byte. TOLVANE_UPDATE_GOLDEN=1 rewrites the file
// instead; a rewritten golden file must be read through against the document's description.
void expect_golden(const fs::path& output, const std::string& name) {
  const std::string actual = read_file(output);
  if (std::getenv("TOLVANE_UPDATE_GOLDEN")) write_file(kData / name, actual);
  const std::string expected = read_file(kData / name);
  ASSERT_FALSE(expected.empty()) << name;
  if (actual == expected) return;
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  const std::size_t line = static_cast<std::size_t>(
      std::count(expected.begin(), expected.begin() + static_cast<long>(at), '\n') + 1);
  ADD_FAILURE() << name << " differs from line " << line
                << ":\n  expected: " << expected.substr(at, 60)
                << "\n  actual:   " << actual.substr(at, 60);
}

TEST_F(KmlRun, TwoJoinedLogsWithTheDefaults) {
  // Given in the wrong order: the run sorts them by start time.
  const fs::path output = folder_ / "trip.kml";
  ASSERT_EQ(run({kData / "afternoon.log", kData / "morning.log"}, output), kRunSucceeded);
  expect_golden(output, "two_logs_default.kml");
  EXPECT_EQ(input_.log_paths,
            (std::vector<fs::path>{kData / "morning.log", kData / "afternoon.log"}));
  EXPECT_EQ(view_.events,
            (std::vector<std::string>{
                status(messages::kCheckingLogs), "progress 100", status(messages::kWritingPoints),
                status(messages::kWritingRouteLines), status(messages::kFinished), "progress 0"}));
  EXPECT_EQ(files_in_folder(), std::vector<std::string>{"trip.kml"});
}

TEST_F(KmlRun, SeparateLogsWithTimeStampsAndEveryOptionalPartOff) {
  settings_.common.concate = 0;
  settings_.google_earth.embed_time = 1;
  settings_.google_earth.day_hourly = 0;
  settings_.google_earth.show_distance = 0;
  settings_.google_earth.direction_icon = 0;
  settings_.google_earth.no_receive_path = 0;
  const fs::path output = folder_ / "trip.kml";
  ASSERT_EQ(run({kData / "morning.log", kData / "afternoon.log"}, output), kRunSucceeded);
  expect_golden(output, "two_logs_separate.kml");
}

TEST_F(KmlRun, NightAcrossMidnightInUtc) {
  settings_.common.GMT = 0;
  settings_.google_earth.embed_time = 1;
  const fs::path output = folder_ / "night.kml";
  ASSERT_EQ(run({kData / "night.log"}, output), kRunSucceeded);
  expect_golden(output, "night.kml");
}

TEST_F(KmlRun, ModeZeroWritesNoPointsFolder) {
  settings_.google_earth.mode = 0;
  settings_.google_earth.embed_time = 1;  // no Points folder, so no time span either
  const fs::path output = folder_ / "route.kml";
  ASSERT_EQ(run({kData / "morning.log"}, output), kRunSucceeded);
  expect_golden(output, "route_only.kml");
  EXPECT_EQ(view_.events, (std::vector<std::string>{status(messages::kCheckingLogs), "progress 100",
                                                    status(messages::kWritingRouteLines),
                                                    status(messages::kFinished), "progress 0"}));
}

TEST_F(KmlRun, OutputThatCannotBeCreatedIsReportedBeforeAnyLogIsChecked) {
  const fs::path output = folder_ / "missing" / "trip.kml";
  EXPECT_EQ(run({folder_ / "no such.log"}, output), kRunFailed);
  EXPECT_EQ(view_.events, (std::vector<std::string>{status(messages::kCheckingLogs), "progress 100",
                                                    error(messages::kCannotCreateOutput)}));
  EXPECT_FALSE(fs::exists(folder_ / "missing"));
}

TEST_F(KmlRun, AnOutputThatIsOneOfTheLogsIsRefusedAndTheLogKept) {
  const fs::path log = folder_ / "trip.log";
  fs::copy_file(kData / "morning.log", log);
  fs::create_symlink(log, folder_ / "link.kml");
  for (const fs::path& output : {log, folder_ / "link.kml", folder_ / "." / "trip.log"}) {
    view_.events.clear();
    EXPECT_EQ(run({log}, output), kRunFailed) << output;
    EXPECT_EQ(view_.events.back(), error(messages::kCannotCreateOutput));
    EXPECT_EQ(read_file(log), read_file(kData / "morning.log"));
  }
}

TEST_F(KmlRun, FailedPrePassLeavesAnEarlierOutputUntouched) {
  write_file(folder_ / "empty.log", "");
  const char binary[] = "\x00\x01\xff GPGGA\x00,,,\n\x7f";
  write_file(folder_ / "binary.log", std::string(binary, sizeof binary - 1));
  const fs::path overlapping = folder_ / "overlap.log";
  // Starts at 10:00:00 UTC, before morning.log ends at 10:03:30.
  write_file(overlapping,
             "$GPGGA,100000.000,3540.0000,N,13945.0000,E,1,08,1.0,1.0,M,,M,,*00\r\n"
             "$GPRMC,100000.000,A,3540.0000,N,13945.0000,E,0.0,0.0,050108,,,A*00\r\n");
  struct Case {
    std::vector<fs::path> logs;
    const char* message;
  } cases[] = {
      {{kData / "morning.log", folder_ / "no such.log"}, messages::kCannotOpenInput},
      {{kData / "morning.log", folder_ / "empty.log"}, messages::kUnsupportedInput},
      {{folder_ / "binary.log"}, messages::kUnsupportedInput},
      {{kData / "morning.log", overlapping}, messages::kLogsOverlap},
  };
  const fs::path output = folder_ / "trip.kml";
  for (const Case& c : cases) {
    write_file(output, "an earlier output\n");
    view_.events.clear();
    EXPECT_EQ(run(c.logs, output), kRunFailed) << c.message;
    EXPECT_EQ(view_.errors(), 1);
    EXPECT_EQ(view_.events.back(), error(c.message));
    EXPECT_EQ(read_file(output), "an earlier output\n");
    EXPECT_EQ(files_in_folder(),
              (std::vector<std::string>{"binary.log", "empty.log", "overlap.log", "trip.kml"}));
  }
  // Overlapping logs are fine when they are not joined.
  settings_.common.concate = 0;
  EXPECT_EQ(run({kData / "morning.log", overlapping}, output), kRunSucceeded);
}

TEST_F(KmlRun, ALogThatVanishesDuringTheRunFailsItWithoutTouchingTheOutput) {
  for (const char* stage : {messages::kWritingPoints, messages::kWritingRouteLines}) {
    const fs::path log = folder_ / "copy.log";
    fs::copy_file(kData / "morning.log", log, fs::copy_options::overwrite_existing);
    const fs::path output = folder_ / "trip.kml";
    write_file(output, "an earlier output\n");
    view_.events.clear();
    view_.on_status = [&](std::string_view text) {
      if (text == stage) fs::remove(log);
    };
    EXPECT_EQ(run({log}, output), kRunFailed) << stage;
    EXPECT_EQ(view_.errors(), 1);
    EXPECT_EQ(view_.events.back(), error(messages::kCannotReadInput));
    EXPECT_EQ(read_file(output), "an earlier output\n");
    EXPECT_EQ(files_in_folder(), std::vector<std::string>{"trip.kml"});
  }
}

TEST_F(KmlRun, GpxRunsLeaveNoTemporaryFileOrDescriptorBehindHoweverTheyEnd) {
  // GPX logs of ten minutes from the given minute on; two of them overlap.
  auto gpx = [&](const char* name, int minute) {
    std::string text = "<gpx><trk><trkseg>";
    for (int i = 0; i < 600; ++i) {
      text += format_text(
          "<trkpt lat=\"35.%04d\" lon=\"139.5\"><ele>%d</ele>"
          "<time>2008-01-05T10:%02d:%02dZ</time></trkpt>\n",
          i, i % 40, minute + i / 60, i % 60);
    }
    write_file(folder_ / name, text + "</trkseg></trk></gpx>\n");
    return folder_ / name;
  };
  const fs::path first = gpx("first.gpx", 0);
  const fs::path overlapping = gpx("overlap.gpx", 5);
  const fs::path later = gpx("later.gpx", 20);
  const fs::path temporary = folder_ / "tmp";
  fs::create_directories(temporary);
  const char* tmpdir = std::getenv("TMPDIR");
  const std::string saved = tmpdir ? tmpdir : "";
  ::setenv("TMPDIR", temporary.c_str(), 1);
  auto descriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
  };
  const auto open_before = descriptors();
  std::atomic<bool> stop{false};
  input_.stop = &stop;
  const fs::path output = folder_ / "trip.kml";

  EXPECT_EQ(run({first, overlapping}, output), kRunFailed);
  EXPECT_EQ(view_.events.back(), error(messages::kLogsOverlap));
  // Stopped while the spools are read again.
  for (const char* stage : {messages::kWritingPoints, messages::kWritingRouteLines}) {
    stop = false;
    view_.on_status = [&](std::string_view text) {
      if (text == stage) stop = true;
    };
    EXPECT_EQ(run({first, later}, output), kRunFailed) << stage;
  }
  stop = false;
  view_.on_status = nullptr;
  EXPECT_EQ(run({later, first}, output), kRunSucceeded);
  EXPECT_NE(read_file(output).find("139.5"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(temporary));
  EXPECT_EQ(descriptors(), open_before);
  if (tmpdir) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

TEST_F(KmlRun, AFailedFinalMoveIsReportedAsAnOutputThatCannotBeCreated) {
  const fs::path out_folder = folder_ / "out";
  fs::create_directories(out_folder);
  view_.on_status = [&](std::string_view text) {
    if (text == messages::kWritingRouteLines) fs::remove_all(out_folder);
  };
  EXPECT_EQ(run({kData / "morning.log"}, out_folder / "trip.kml"), kRunFailed);
  EXPECT_EQ(view_.events.back(), error(messages::kCannotCreateOutput));
  EXPECT_EQ(view_.errors(), 1);
  for (const auto& e : view_.events) EXPECT_NE(e, status(messages::kFinished));
}

TEST_F(KmlRun, EveryCorpusLogConvertsOrIsRefusedCleanly) {
  const char* corpus_env = std::getenv("TOLVANE_CORPUS");
  const fs::path corpus =
      fs::path(corpus_env ? corpus_env : TOLVANE_SOURCE_DIR "/../shared/corpus") / "nmea";
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int converted = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() != ".log") continue;
    const fs::path output = folder_ / "corpus.kml";
    fs::remove(output);
    view_.events.clear();
    const RunResult result = run({entry.path()}, output);
    if (result == kRunSucceeded) {
      ++converted;
      const std::string text = read_file(output);
      const std::string end = "</Document>\r\n</kml>\r\n";
      ASSERT_GE(text.size(), end.size());
      EXPECT_EQ(text.substr(text.size() - end.size()), end) << entry.path();
      EXPECT_EQ(view_.errors(), 0);
    } else {
      EXPECT_EQ(view_.events.back(), error(messages::kUnsupportedInput)) << entry.path();
      EXPECT_FALSE(fs::exists(output));
    }
  }
  EXPECT_GT(converted, 10);
}

}  // namespace
}  // namespace tolvane
