// Code page 932 text (Windows Japanese file names) to the UTF-8 that the outputs are written in,
// by way of UTF-16.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tolvane {

// Encodes `count` UTF-16 units as UTF-8, each unit by itself in one to three bytes (surrogates
// are not paired: code page 932 text has none), and returns the number of bytes. With
// `count_only` set, or without a destination, nothing is written; otherwise the bytes and a
// terminating zero byte go to `destination`, which must hold the count + 1 bytes.
std::size_t utf16_to_utf8(char* destination, const char16_t* units, std::size_t count,
                          bool count_only);

// Decodes a zero-terminated code page 932 text to UTF-16 and stores 2 x its byte length through
// `byte_count` (when given). A missing text (null) gives no result.
std::optional<std::u16string> to_wide(const char* text, std::size_t* byte_count = nullptr);

// A zero-terminated code page 932 text as UTF-8; the UTF-8 byte count goes to `length` (when
// given). A null text gives an empty string.
std::string to_utf8(const char* text, std::size_t* length = nullptr);

}  // namespace tolvane
