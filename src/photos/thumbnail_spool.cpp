#include "photos/thumbnail_spool.h"

#include <algorithm>

#include "core/run_messages.h"
#include "photos/thumbnail.h"
#include "platform/path_text.h"

namespace tolvane {

bool ThumbnailSpool::add(const std::string& name, std::span<const unsigned char> bytes) {
  if (!file_) {
    file_.reset(std::tmpfile());
    if (!file_) return false;
  }
  if (::fseeko(file_.get(), end_, SEEK_SET) != 0) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size()) return false;
  Entry entry{name, end_, bytes.size()};
  end_ += static_cast<off_t>(bytes.size());
  auto [held, added] = index_of_name_.try_emplace(name, entries_.size());
  if (added) {
    entries_.push_back(std::move(entry));
  } else {
    entries_[held->second] = std::move(entry);
  }
  return true;
}

bool ThumbnailSpool::read(const Entry& entry,
                          const std::function<bool(std::string_view)>& take) const {
  if (entry.size == 0) return true;
  if (!file_ || std::fflush(file_.get()) != 0 ||
      ::fseeko(file_.get(), entry.offset, SEEK_SET) != 0) {
    return false;
  }
  char piece[1 << 16];
  std::size_t left = entry.size;
  while (left > 0) {
    const std::size_t want = std::min(left, sizeof piece);
    if (std::fread(piece, 1, want, file_.get()) != want) return false;
    if (!take(std::string_view(piece, want))) return false;
    left -= want;
  }
  return true;
}

bool ThumbnailSpool::open(const std::filesystem::path& output) {
  std::optional<std::filesystem::path> folder = thumbnail_folder_of(output);
  if (!folder) return false;
  folder_ = std::move(*folder);
  entry_folder_ = utf8_name_text(native_to_utf8(folder_.filename()));
  return true;
}

bool ThumbnailSpool::put(const std::string& name, std::span<const unsigned char> jpeg) {
  return add(entry_folder_ + kPathSeparator + name, jpeg);
}

std::string_view ThumbnailSpool::put_failed_message() const {
  return messages::kCannotCreateOutput;
}

}  // namespace tolvane
