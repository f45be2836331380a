// Reading the numbers of the settings dialog's edit boxes: a decimal integer with optional
// sign, blanks and tabs allowed around it, nothing else.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvane {

// How much of an edit box's text is read; the rest is ignored.
inline constexpr std::size_t kEditTextLimit = 31;

// A signed 32-bit value. Fails on an empty text, on anything but blanks after the number, on a
// value out of range, and on a zero written with a sign ("+0", "-0").
std::optional<std::int32_t> read_signed_edit(std::string_view text);

// An unsigned 32-bit value: as above, and a text that begins with "-" fails too.
std::optional<std::uint32_t> read_unsigned_edit(std::string_view text);

}  // namespace tolvane
