// Thumbnails made before they can be written where they belong (into an archive, after its
// document), waiting in one unnamed temporary file that vanishes when the spool goes. As a
// ThumbnailTarget it names each one by the picture folder's name, "/" and the thumbnail's name,
// and has none to keep: an archive is written afresh.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "photos/thumbnail_target.h"

namespace tolvane {

class ThumbnailSpool final : public ThumbnailTarget {
 public:
  struct Entry {
    std::string name;  // the thumbnail's name where it belongs, UTF-8
    off_t offset = 0;  // where its bytes lie in the temporary file
    std::size_t size = 0;
  };

  // Appends the bytes of thumbnail `name`. A name held already keeps its place and takes the
  // new bytes, as a later file of one name replaces the earlier one in a folder. False when the
  // temporary file cannot be made or written.
  bool add(const std::string& name, std::span<const unsigned char> bytes);

  // The thumbnails in the order their names were first added.
  const std::vector<Entry>& entries() const { return entries_; }

  // Hands the bytes of `entry` to `take` piece by piece. False when they cannot be read back or
  // `take` refuses a piece.
  bool read(const Entry& entry, const std::function<bool(std::string_view)>& take) const;

  // Forms the picture folder's name without making the folder.
  bool open(const std::filesystem::path& output) override;
  const std::filesystem::path& folder() const override { return folder_; }
  bool holds(const std::string&) const override { return false; }
  // Adds the thumbnail under the picture folder's name, "/" and `name`.
  bool put(const std::string& name, std::span<const unsigned char> jpeg) override;
  // "出力ファイルを作成できません": the spool is part of the output.
  std::string_view put_failed_message() const override;

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::filesystem::path folder_;
  std::string entry_folder_;  // the picture folder's name as the entries' names begin
  std::unique_ptr<std::FILE, FileCloser> file_;
  off_t end_ = 0;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> index_of_name_;
};

}  // namespace tolvane
