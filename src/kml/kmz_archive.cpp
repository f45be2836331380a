#include "kml/kmz_archive.h"

#include <string>
#include <string_view>

#include "core/file_kind.h"
#include "writing/embedded_files.h"

namespace tolvane {
namespace {

constexpr const char* kDocumentName = "doc.kml";
constexpr const char* kIconFolder = "icons";

bool add_icon(ZipArchive& zip, std::string_view file) {
  const EmbeddedFile* icon = find_embedded_file(map_icon_files(), file);
  if (!icon) return false;
  return zip.begin_entry(std::string(kIconFolder) + "/" + std::string(file),
                         ZipArchive::Method::kStored) &&
         zip.write(std::string_view(reinterpret_cast<const char*>(icon->bytes.data()),
                                    icon->bytes.size()));
}

}  // namespace

bool writes_kmz(const ConversionInput& input) {
  return output_form(input.output_path, KindRequest::kKml, input.kmz, false) == OutputForm::kKmz;
}

KmlIconPlaces kmz_icon_places() {
  const std::string folder = kIconFolder;
  return {folder, folder + "/pin.png", folder + "/placemark.png"};
}

KmzArchive::KmzArchive(std::FILE* stream, bool photos_present)
    : zip_(stream), photos_present_(photos_present) {
  zip_.begin_entry(kDocumentName, ZipArchive::Method::kDeflated);
}

bool KmzArchive::finish() {
  if (!zip_.end_entry()) return false;
  for (const EmbeddedFile& icon : map_icon_files()) {
    if (icon.name.starts_with("pt") && !add_icon(zip_, icon.name)) return false;  // headings
  }
  if (photos_present_ && !add_icon(zip_, "pin.png")) return false;
  if (!add_icon(zip_, "placemark.png")) return false;
  for (const ThumbnailSpool::Entry& thumbnail : thumbnails_.entries()) {
    if (!zip_.begin_entry(thumbnail.name, ZipArchive::Method::kStored) ||
        !thumbnails_.read(thumbnail, [&](std::string_view piece) { return zip_.write(piece); })) {
      return false;
    }
  }
  return zip_.finish();
}

}  // namespace tolvane
