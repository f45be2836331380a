// The KML run writing a KMZ: an archive other programs read, whose doc.kml is the KML run's
// document but for the icon addresses, and which holds exactly the images it names.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/run_messages.h"
#include "kml/kml_run.h"
#include "kml/kml_writer.h"
#include "kml/kmz_archive.h"
#include "test_support.h"

namespace tolvane {
namespace {

using namespace tolvane::testing;

const fs::path kChecker = fs::path(TOLVANE_SOURCE_DIR) / "tests" / "kmz_check.py";

void replace_all(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

std::vector<std::string> file_names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class KmzRun : public ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    std::vector<Fix> fixes;
    for (int i = 0; i < 10; ++i) {
      fixes.push_back(
          {add_seconds(10000, 10 * i), 50108, 35.0 + 0.001 * i, 139.0 + 0.002 * i, 20, 30.0 * i});
    }
    write_file(folder_ / "trip.log", nmea_text(fixes));
    settings_.common.icon_url = "http://example.org/icons";
    settings_.common.jpeg_embed_link = 1;
    // Names that need escaping in the descriptions, a Shift-JIS name (not UTF-8), and two
    // photos of one name from two folders, each with a thumbnail of its own.
    fs::create_directories(folder_ / "photos" / "b");
    photo("photos/a'b.jpg", "2008:01:05 10:00:35", 64, 48);
    photo("photos/x\"<y>&z.jpg", "2008:01:05 10:00:05", 48, 64);
    photo("photos/写真 1.jpeg", "2008:01:05 10:00:25", 80, 40);
    photo("photos/b/a'b.jpg", "2008:01:05 10:01:00", 40, 90);
    photo("photos/\x83\x65\x83\x58\x83\x67.jpg", "2008:01:05 10:00:45", 50, 50);
    fs::create_directories(folder_ / "kml");
    fs::create_directories(folder_ / "kmz");
  }
  void photo(const std::string& name, const std::string& taken, int width, int height) {
    write_test_photo(folder_ / name, width, height, taken);
    input_.photo_paths.push_back(folder_ / name);
  }
  RunResult run(const fs::path& output) {
    input_.log_paths = {folder_ / "trip.log"};
    input_.output_path = output;
    return convert_to_kml(input_, settings_, view_);
  }

  ConversionSettings settings_;
  ConversionInput input_;
  RecordingView view_;
};

TEST_F(KmzRun, HoldsTheKmlDocumentAndEveryImageItNames) {
  ASSERT_EQ(run(folder_ / "kml" / "trip.kml"), kRunSucceeded);
  ASSERT_EQ(run(folder_ / "kmz" / "trip.KMZ"), kRunSucceeded);
  EXPECT_EQ(view_.errors(), 0);
  // No picture folder beside the archive, and nothing else left there.
  EXPECT_EQ(file_names(folder_ / "kmz"), std::vector<std::string>{"trip.KMZ"});

  const fs::path extracted = folder_ / "extracted";
  const std::string command = "python3 " + quoted(kChecker.string()) + " " +
                              quoted((folder_ / "kmz" / "trip.KMZ").string()) + " " +
                              quoted(extracted.string());
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> checker(::popen(command.c_str(), "r"), ::pclose);
  ASSERT_TRUE(checker);
  std::string listing;
  char piece[4096];
  while (std::size_t got = std::fread(piece, 1, sizeof piece, checker.get())) {
    listing.append(piece, got);
  }
  EXPECT_EQ(::pclose(checker.release()), 0) << "the checker found faults (see above)";

  std::vector<std::string> entries;
  std::istringstream lines(listing);
  for (std::string line; std::getline(lines, line);) entries.push_back(line);
  std::vector<std::string> expected = {"doc.kml"};
  for (const char* degrees : {"000", "022", "045", "067", "090", "112", "135", "157", "180", "202",
                              "225", "247", "270", "292", "315", "337"}) {
    expected.push_back(std::string("icons/pt") + degrees + ".png");
  }
  expected.insert(
      expected.end(),
      {"icons/pin.png", "icons/placemark.png", "trip_pics/sx\"<y>&z.jpg", "trip_pics/s写真 1.jpeg",
       "trip_pics/sa'b.jpg", "trip_pics/s%83e%83X%83g.jpg", "trip_pics/sa'b~2.jpg"});
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(std::system(("xmllint --noout " + quoted((extracted / "doc.kml").string())).c_str()),
            0);

  // doc.kml with its icon addresses put back is the KML run's document, byte for byte.
  std::string document = read_file(extracted / "doc.kml");
  const KmlIconPlaces web = web_icon_places(settings_);
  const KmlIconPlaces archive = kmz_icon_places();
  replace_all(document, "<href>" + archive.heading_folder + "/pt",
              "<href>" + web.heading_folder + "/pt");
  replace_all(document, "<href>" + archive.photo_pin + "<", "<href>" + web.photo_pin + "<");
  replace_all(document, "<href>" + archive.plain_point + "<", "<href>" + web.plain_point + "<");
  const std::string kml = read_file(folder_ / "kml" / "trip.kml");
  EXPECT_TRUE(document == kml)
      << "doc.kml differs from the KML after "
      << std::mismatch(document.begin(), document.end(), kml.begin(), kml.end()).first -
             document.begin()
      << " bytes";
  // The thumbnails are those the KML run leaves in its picture folder.
  for (const char* name :
       {"sx\"<y>&z.jpg", "s写真 1.jpeg", "sa'b.jpg", "s%83e%83X%83g.jpg", "sa'b~2.jpg"}) {
    EXPECT_EQ(read_file(extracted / "trip_pics" / name),
              read_file(folder_ / "kml" / "trip_pics" / name))
        << name;
  }
  // The two photos of one name keep their own shapes; the one not in UTF-8 is shown with
  // replacement characters.
  EXPECT_NE(kml.find("trip_pics/sa%27b.jpg\" width=\"128\" height=\"96\""), std::string::npos);
  EXPECT_NE(kml.find("trip_pics/sa%27b~2.jpg\" width=\"56\" height=\"128\""), std::string::npos);
  EXPECT_NE(kml.find("<div>s\uFFFDe\uFFFDX\uFFFDg.jpg</div>"), std::string::npos);
}

TEST_F(KmzRun, AFailedRunKeepsTheEarlierArchiveAndLeavesNothingBehind) {
  const fs::path output = folder_ / "kmz" / "trip.zip";
  write_file(output, "earlier archive");
  write_file(folder_ / "photos" / "broken.jpg", "not a JPEG");
  input_.photo_paths.push_back(folder_ / "photos" / "broken.jpg");
  input_.kmz = true;
  EXPECT_EQ(run(output), kRunFailed);
  EXPECT_EQ(view_.events.back(), std::string("error ") + messages::kThumbnailFailed);
  EXPECT_EQ(view_.errors(), 1);
  EXPECT_EQ(read_file(output), "earlier archive");
  EXPECT_EQ(file_names(folder_ / "kmz"), std::vector<std::string>{"trip.zip"});
}

TEST_F(KmzRun, AnArchiveThatCannotBeCompletedKeepsTheEarlierOneAndLeavesNothingBehind) {
  ASSERT_EQ(run(folder_ / "kml" / "whole.kmz"), kRunSucceeded);
  const auto whole_size = static_cast<rlim_t>(fs::file_size(folder_ / "kml" / "whole.kmz"));
  const fs::path output = folder_ / "kmz" / "trip.kmz";
  write_file(output, "earlier archive");

  // The document, thumbnails and icons are all in, but the archive's directory, written as the
  // chain is committed, no longer fits: a disk that fills up at the very end.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{whole_size - 40, whole_size - 40};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
    view_.events.clear();
    const bool failed = run(output) == kRunFailed;
    const bool told = view_.errors() == 1 &&
                      view_.events.back() == std::string("error ") + messages::kCannotCreateOutput;
    ::_exit(failed && told ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "not one \"cannot create\" message for a failed run";
  EXPECT_EQ(read_file(output), "earlier archive");
  EXPECT_EQ(file_names(folder_ / "kmz"), std::vector<std::string>{"trip.kmz"});
}

}  // namespace
}  // namespace tolvane
