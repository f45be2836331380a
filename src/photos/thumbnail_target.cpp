#include "photos/thumbnail_target.h"

#include "core/run_messages.h"
#include "photos/thumbnail.h"
#include "platform/directories.h"
#include "platform/path_text.h"
#include "platform/replacing_file.h"

namespace tolvane {

bool ThumbnailFolder::open(const std::filesystem::path& output) {
  std::optional<std::filesystem::path> folder = make_thumbnail_folder(output);
  if (!folder) return false;
  folder_ = std::move(*folder);
  return true;
}

std::optional<std::filesystem::path> ThumbnailFolder::path_of(const std::string& name) const {
  const std::string& folder_text = folder_.native();
  if (folder_text.size() >= kThumbnailPathLimit ||
      folder_text.size() + name.size() + 4 > kThumbnailPathLimit) {
    return std::nullopt;
  }
  std::string path = folder_text;
  path += kPathSeparator;
  path += name;
  return std::filesystem::path(std::move(path));
}

bool ThumbnailFolder::holds(const std::string& name) const {
  std::optional<std::filesystem::path> path = path_of(name);
  return path && file_exists(*path);
}

bool ThumbnailFolder::put(const std::string& name, std::span<const unsigned char> jpeg) {
  std::optional<std::filesystem::path> path = path_of(name);
  if (!path) return false;
  std::optional<ReplacingFile> file = ReplacingFile::create(*path);
  if (!file) return false;
  if (std::fwrite(jpeg.data(), 1, jpeg.size(), file->stream()) != jpeg.size()) return false;
  // A thumbnail can always be made again: it is moved into place without waiting for the disk.
  return file->commit(ReplacingFile::Sync::kNone);
}

std::string_view ThumbnailFolder::put_failed_message() const { return messages::kThumbnailFailed; }

}  // namespace tolvane
