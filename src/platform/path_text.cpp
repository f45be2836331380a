#include "platform/path_text.h"

namespace tolvane {

std::size_t find_last_separator(std::string_view path) { return path.rfind(kPathSeparator); }

std::string_view file_name_of(std::string_view path) {
  std::size_t separator = find_last_separator(path);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string native_to_utf8(const std::filesystem::path& path) { return path.native(); }

}  // namespace tolvane
