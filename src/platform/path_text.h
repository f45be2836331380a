// Paths as text on this platform: a native path is the byte string the file system holds
// (UTF-8 in practice), with "/" between its components.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tolvane {

inline constexpr char kPathSeparator = '/';

// Position of the last separator in `path`, or npos when it has none. Native paths hold no
// double-byte code page text whose second byte could look like a separator, so every "/" byte
// is one.
std::size_t find_last_separator(std::string_view path);

// The text after the last separator: the whole text when there is none, empty when the path
// ends with a separator.
std::string_view file_name_of(std::string_view path);

// A native path as the UTF-8 text written into the outputs. Native paths are UTF-8 already, so
// this is their bytes unchanged.
std::string native_to_utf8(const std::filesystem::path& path);

}  // namespace tolvane
