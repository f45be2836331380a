#include "platform/directories.h"

#include <sys/stat.h>

#include <system_error>

namespace tolvane {
namespace fs = std::filesystem;

bool make_directory(const fs::path& folder) {
  std::error_code error;
  fs::create_directory(folder, error);
  return fs::is_directory(folder, error);
}

bool make_private_directories(const fs::path& folder) {
  std::error_code error;
  if (fs::is_directory(folder, error)) return true;
  const fs::path parent = folder.parent_path();
  if (!parent.empty() && parent != folder && !make_private_directories(parent)) return false;
  ::mkdir(folder.c_str(), 0700);
  return fs::is_directory(folder, error);
}

bool file_exists(const fs::path& path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  return fs::exists(status) && !fs::is_directory(status);
}

}  // namespace tolvane
