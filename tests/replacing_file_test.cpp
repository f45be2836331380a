// The file that replaces its target only on commit, as seen from a thread that gives the run up.
#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "test_support.h"

namespace tolvane {
namespace {

namespace fs = std::filesystem;
using testing::read_file;
using testing::write_file;

class ReplacingFileTest : public testing::ScratchFolder {
 protected:
  std::set<std::string> names() const {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder_)) found.insert(entry.path().filename());
    return found;
  }
};

TEST_F(ReplacingFileTest, AnAbandonedOutputIsNeverCommittedAndACommittedOneStands) {
  const fs::path target = folder_ / "trip.kml";
  write_file(target, "earlier");

  PendingOutput given_up;
  std::optional<ReplacingFile> file = ReplacingFile::create(target, &given_up);
  ASSERT_TRUE(file);
  std::fputs("new", file->stream());
  EXPECT_FALSE(given_up.abandon()) << "not committed yet";
  EXPECT_EQ(names(), std::set<std::string>{"trip.kml"}) << "the temporary file is gone at once";
  EXPECT_FALSE(file->commit());
  EXPECT_EQ(read_file(target), "earlier");

  PendingOutput finished;
  file = ReplacingFile::create(target, &finished);
  ASSERT_TRUE(file);
  std::fputs("new", file->stream());
  ASSERT_TRUE(file->commit(ReplacingFile::Sync::kNone));
  EXPECT_TRUE(finished.abandon()) << "committed already";
  EXPECT_EQ(read_file(target), "new");
  EXPECT_EQ(names(), std::set<std::string>{"trip.kml"});
}

}  // namespace
}  // namespace tolvane
