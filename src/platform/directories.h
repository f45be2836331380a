// Making folders and looking for files, as the thumbnail writer needs them.
#pragma once

#include <filesystem>

namespace tolvane {

// Creates the folder (its parent must exist). True when a folder of that name exists
// afterwards, made now or already there; false when it could not be made, for example because
// a file of that name is in the way or the parent is missing or not writable.
bool make_directory(const std::filesystem::path& folder);

// True when a file (anything but a folder, symbolic links followed) exists at `path`.
bool file_exists(const std::filesystem::path& path);

}  // namespace tolvane
