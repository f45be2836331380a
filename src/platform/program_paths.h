// Where the running program and the user's configuration live, and file URLs of local paths.
#pragma once

#include <filesystem>
#include <string>

namespace tolvane {

// The folder of the running executable; the current folder when it cannot be found.
std::filesystem::path program_dir();

// The folder of the user's own configuration: $XDG_CONFIG_HOME when it is an absolute path,
// otherwise ".config" in the home folder ($HOME when absolute, else the account's).
std::filesystem::path user_config_dir();

// "file://" followed by the absolute, normalised form of `path` with every byte that is not
// unreserved (letters, digits, "-", ".", "_", "~") or "/" percent-encoded; no trailing slash.
std::string file_url(const std::filesystem::path& path);

}  // namespace tolvane
