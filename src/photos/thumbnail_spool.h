// Thumbnails made before they can be written where they belong (into an archive, after its
// document), waiting in one unnamed temporary file that vanishes when the spool goes.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tolvane {

class ThumbnailSpool {
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

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };

  std::unique_ptr<std::FILE, FileCloser> file_;
  off_t end_ = 0;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, std::size_t> index_of_name_;
};

}  // namespace tolvane
