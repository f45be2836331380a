#include "ui/path_rules.h"

#include <QFile>

#include "writing/output_kind.h"

namespace tolvane {

bool is_photo_path(const QString& path) {
  return path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
         path.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

QString output_path_for_kind(const QString& path, bool map_page, bool kmz) {
  return from_filesystem_path(
      tolvane::output_path_for_kind(to_filesystem_path(path), map_page, kmz));
}

bool is_kmz_path(const QString& path) { return has_kmz_extension(to_filesystem_path(path)); }

bool same_path(const QString& a, const QString& b) { return a == b; }

std::filesystem::path to_filesystem_path(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString from_filesystem_path(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace tolvane
