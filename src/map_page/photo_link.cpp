#include "map_page/photo_link.h"

#include <algorithm>

#include "platform/path_text.h"

namespace tolvane {

PhotoLink photo_link(std::string_view photo_path, std::string_view page_path) {
  const PhotoLink absolute{"file://", std::string(photo_path)};
  if (photo_path.empty() || page_path.empty() || photo_path.front() != page_path.front()) {
    return absolute;
  }
  const std::size_t shorter = std::min(photo_path.size(), page_path.size());
  std::size_t differ = 0;
  while (differ < shorter && photo_path[differ] == page_path[differ]) ++differ;
  const std::size_t common = page_path.substr(0, differ).rfind(kPathSeparator);
  if (common == std::string_view::npos || common == 0) return absolute;

  PhotoLink link;
  const std::size_t steps = static_cast<std::size_t>(std::count(
      page_path.begin() + static_cast<long>(common) + 1, page_path.end(), kPathSeparator));
  for (std::size_t i = 0; i < steps; ++i) link.prefix += "../";
  link.path = std::string(photo_path.substr(common + 1));
  return link;
}

}  // namespace tolvane
