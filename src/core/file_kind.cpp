#include "core/file_kind.h"

namespace tolvane {
namespace fs = std::filesystem;

namespace {

// True when `path` ends in `extension` (lower case, with its dot), in any letter case.
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

constexpr std::string_view kKmlExtension = ".kml";
constexpr std::string_view kKmzExtension = ".kmz";
constexpr std::string_view kHtmlExtension = ".html";
constexpr std::string_view kHtmExtension = ".htm";

fs::path with_extension(const fs::path& path, std::size_t old_length, std::string_view extension) {
  std::string text = path.native();
  text.resize(text.size() - old_length);
  text += extension;
  return fs::path(std::move(text));
}

}  // namespace

bool is_gpx_log(const fs::path& path) { return has_extension(path, kGpxExtension); }

bool is_photo(const fs::path& path) {
  for (std::string_view extension : kPhotoExtensions) {
    if (has_extension(path, extension)) return true;
  }
  return false;
}

std::string photo_extensions_text(std::string_view separator) {
  std::string text;
  for (std::string_view extension : kPhotoExtensions) {
    if (!text.empty()) text += separator;
    text += extension;
  }
  return text;
}

std::optional<OutputForm> output_form_by_name(const fs::path& path) {
  if (has_extension(path, kKmlExtension)) return OutputForm::kKml;
  if (has_extension(path, kKmzExtension)) return OutputForm::kKmz;
  if (has_extension(path, kHtmlExtension) || has_extension(path, kHtmExtension)) {
    return OutputForm::kMapPage;
  }
  return std::nullopt;
}

std::optional<OutputForm> output_form(const fs::path& output, KindRequest request, bool kmz,
                                      bool map_page_setting) {
  const std::optional<OutputForm> by_name = output_form_by_name(output);
  bool map_page = map_page_setting;
  if (request != KindRequest::kByName) {
    map_page = request == KindRequest::kMapPage;
  } else if (kmz) {
    map_page = false;
  } else if (by_name) {
    map_page = by_name == OutputForm::kMapPage;
  }
  const bool kml_name = by_name == OutputForm::kKml || by_name == OutputForm::kKmz;
  if (map_page) {
    if (kmz || kml_name) return std::nullopt;
    return OutputForm::kMapPage;
  }
  return kmz || by_name == OutputForm::kKmz ? OutputForm::kKmz : OutputForm::kKml;
}

std::string_view output_extension(OutputForm form) {
  switch (form) {
    case OutputForm::kKml:
      return kKmlExtension;
    case OutputForm::kKmz:
      return kKmzExtension;
    case OutputForm::kMapPage:
      break;
  }
  return kHtmlExtension;
}

fs::path output_path_for_kind(const fs::path& path, OutputForm form) {
  if (form == OutputForm::kMapPage) {
    if (has_extension(path, kKmlExtension) || has_extension(path, kKmzExtension)) {
      return with_extension(path, kKmlExtension.size(), kHtmlExtension);
    }
  } else if (has_extension(path, kHtmlExtension)) {
    return with_extension(path, kHtmlExtension.size(), output_extension(form));
  } else if (has_extension(path, kHtmExtension)) {
    return with_extension(path, kHtmExtension.size(), output_extension(form));
  }
  return path;
}

fs::path output_path_for_log(const fs::path& log, OutputForm form) {
  fs::path output = log;
  output.replace_extension(output_extension(form));
  return output;
}

}  // namespace tolvane
