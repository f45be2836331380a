#include "writing/output_kind.h"

#include <string>
#include <string_view>

namespace tolvane {
namespace fs = std::filesystem;

namespace {

// True when the file name of `path` ends in `extension` (lower case, with its dot), in any
// letter case.
bool has_extension(const fs::path& path, std::string_view extension) {
  const std::string& text = path.native();
  if (text.size() < extension.size()) return false;
  const std::string_view tail = std::string_view(text).substr(text.size() - extension.size());
  for (std::size_t i = 0; i < extension.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != extension[i]) return false;
  }
  return true;
}

fs::path with_extension(const fs::path& path, std::size_t old_length, const char* extension) {
  std::string text = path.native();
  text.resize(text.size() - old_length);
  return fs::path(text + extension);
}

const char* kml_extension(bool kmz) { return kmz ? ".kmz" : ".kml"; }

}  // namespace

bool has_kmz_extension(const fs::path& path) { return has_extension(path, ".kmz"); }

std::optional<bool> map_page_by_extension(const fs::path& path) {
  if (has_extension(path, ".kml") || has_kmz_extension(path)) return false;
  if (has_extension(path, ".html") || has_extension(path, ".htm")) return true;
  return std::nullopt;
}

OutputForm output_form(const fs::path& output, KindRequest request, bool kmz,
                       bool map_page_setting) {
  OutputForm form;
  if (request != KindRequest::kByName) {
    form.map_page = request == KindRequest::kMapPage;
  } else if (kmz) {
    form.map_page = false;
  } else {
    form.map_page = map_page_by_extension(output).value_or(map_page_setting);
  }
  form.kmz = !form.map_page && (kmz || has_kmz_extension(output));
  return form;
}

fs::path output_path_for_kind(const fs::path& path, bool map_page, bool kmz) {
  if (map_page) {
    if (has_extension(path, ".kml") || has_kmz_extension(path)) {
      return with_extension(path, 4, ".html");
    }
  } else if (has_extension(path, ".html")) {
    return with_extension(path, 5, kml_extension(kmz));
  } else if (has_extension(path, ".htm")) {
    return with_extension(path, 4, kml_extension(kmz));
  }
  return path;
}

fs::path output_path_for_log(const fs::path& log, bool map_page, bool kmz) {
  fs::path output = log;
  output.replace_extension(map_page ? ".html" : kml_extension(kmz));
  return output;
}

}  // namespace tolvane
