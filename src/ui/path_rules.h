// The rules of the main window's file lists: where a dropped file goes, which extension the
// output path takes for each output kind, and how paths pass between Qt and the conversion.
#pragma once

#include <QString>
#include <filesystem>

namespace tolvane {

// True when the path ends in a dot followed by "jpg" or "jpeg", in any letter case: such a
// file goes to the photo list, everything else (a folder too) to the log list.
bool is_photo_path(const QString& path);

// output_path_for_kind of output/output_kind.h, for a path as the window holds it.
QString output_path_for_kind(const QString& path, bool map_page, bool kmz = false);

// True when the path ends in ".kmz", in any letter case.
bool is_kmz_path(const QString& path);

// Two list entries name the same file when their paths are equal, letter case included, as
// file names are compared on this platform.
bool same_path(const QString& a, const QString& b);

std::filesystem::path to_filesystem_path(const QString& path);
QString from_filesystem_path(const std::filesystem::path& path);

}  // namespace tolvane
