#include "ui/path_rules.h"

#include <QFile>

namespace tolvane {

bool same_path(const QString& a, const QString& b) { return a == b; }

std::filesystem::path to_filesystem_path(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString from_filesystem_path(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

}  // namespace tolvane
