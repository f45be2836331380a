#include "ui/path_rules.h"

#include <QFile>

namespace tolvane {

bool is_photo_path(const QString& path) {
  return path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) ||
         path.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

QString output_path_for_kind(const QString& path, bool map_page, bool kmz) {
  QString result = path;
  const QLatin1String kml_extension(kmz ? "kmz" : "kml");
  if (map_page) {
    if (result.endsWith(QLatin1String(".kml"), Qt::CaseInsensitive) || is_kmz_path(result)) {
      result.chop(3);
      result += QLatin1String("html");
    }
  } else if (result.endsWith(QLatin1String(".html"), Qt::CaseInsensitive)) {
    result.chop(4);
    result += kml_extension;
  } else if (result.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive)) {
    result.chop(3);
    result += kml_extension;
  }
  return result;
}

bool is_kmz_path(const QString& path) {
  return path.endsWith(QLatin1String(".kmz"), Qt::CaseInsensitive);
}

bool same_path(const QString& a, const QString& b) { return a == b; }

std::filesystem::path to_filesystem_path(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString from_filesystem_path(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace tolvane
