// Where the running program lives, and file URLs of local paths.
#pragma once

#include <filesystem>
#include <string>

namespace tolvane {

// The folder of the running executable; the current folder when it cannot be found.
std::filesystem::path program_dir();

// "file://" followed by the absolute, normalised form of `path` with every byte that is not
// unreserved (letters, digits, "-", ".", "_", "~") or "/" percent-encoded; no trailing slash.
std::string file_url(const std::filesystem::path& path);

}  // namespace tolvane
