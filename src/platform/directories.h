// Making folders and looking for files, as the thumbnail writer and the settings need them.
#pragma once

#include <filesystem>

namespace tolvane {

// Creates the folder (its parent must exist). True when a folder of that name exists
// afterwards, made now or already there; false when it could not be made, for example because
// a file of that name is in the way or the parent is missing or not writable.
bool make_directory(const std::filesystem::path& folder);

// Creates `folder` and every missing folder above it, each readable and writable by the user
// only (as per-user configuration folders are made). True when the folder exists afterwards.
bool make_private_directories(const std::filesystem::path& folder);

// True when a file (anything but a folder, symbolic links followed) exists at `path`.
bool file_exists(const std::filesystem::path& path);

}  // namespace tolvane
