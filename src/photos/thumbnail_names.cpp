#include "photos/thumbnail_names.h"

#include <map>
#include <set>

#include "platform/path_text.h"

namespace tolvane {
namespace fs = std::filesystem;

namespace {

// `name` with "~number" before its extension (the part from the last "." on; a leading "." does
// not start one).
std::string numbered(const std::string& name, int number) {
  std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot <= 1) dot = name.size();  // "s" leads every name
  return name.substr(0, dot) + '~' + std::to_string(number) + name.substr(dot);
}

}  // namespace

std::vector<ThumbnailName> thumbnail_names(const std::vector<fs::path>& photos) {
  std::vector<ThumbnailName> names;
  names.reserve(photos.size());
  std::map<fs::path, std::size_t> first_of_path;
  std::set<std::string> taken;
  for (const fs::path& photo : photos) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(photo, ec);
    auto [it, added] =
        first_of_path.try_emplace((ec ? photo : absolute).lexically_normal(), names.size());
    if (!added) {
      names.push_back(names[it->second]);
      continue;
    }
    const std::string raw = "s" + std::string(file_name_of(photo.native()));
    std::string chosen = raw;
    for (int number = 2; taken.count(utf8_name_text(chosen)) != 0; ++number) {
      chosen = numbered(raw, number);
    }
    taken.insert(utf8_name_text(chosen));
    names.push_back({utf8_name_text(chosen), utf8_display_text(chosen)});
  }
  return names;
}

}  // namespace tolvane
