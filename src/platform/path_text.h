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

// The byte count of the well-formed UTF-8 character that starts at `at` (no overlong forms, no
// surrogates, nothing above U+10FFFF); 0 when the bytes there do not begin one.
std::size_t utf8_character_length(std::string_view text, std::size_t at);

// A name whose bytes may not be UTF-8 (photos named on an old camera or copied from an archive
// in another code page) as valid UTF-8: every byte that does not belong to a well-formed
// character as "%XX" (upper-case hex) in utf8_name_text, the form for names and addresses, or
// as U+FFFD in utf8_display_text, the form for text that is shown. Valid UTF-8 stays as it is.
std::string utf8_name_text(std::string_view bytes);
std::string utf8_display_text(std::string_view bytes);

}  // namespace tolvane
