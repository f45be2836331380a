// The rules of the main window's file lists: when two entries are the same file, and how paths
// pass between Qt and the conversion (which asks core/file_kind.h for the kind of a file).
#pragma once

#include <QString>
#include <filesystem>

namespace tolvane {

// Two list entries name the same file when their paths are equal, letter case included, as
// file names are compared on this platform.
bool same_path(const QString& a, const QString& b);

std::filesystem::path to_filesystem_path(const QString& path);
QString from_filesystem_path(const std::filesystem::path& path);

}  // namespace tolvane
