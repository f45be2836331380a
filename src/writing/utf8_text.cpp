#include "writing/utf8_text.h"

#include <cstring>
#include <string_view>

#include "platform/text_encoding.h"

namespace tolvane {

std::size_t utf16_to_utf8(char* destination, const char16_t* units, std::size_t count,
                          bool count_only) {
  bool writing = !count_only && destination != nullptr;
  std::size_t length = 0;
  auto put = [&](unsigned value) {
    if (writing) destination[length] = static_cast<char>(value);
    ++length;
  };
  for (std::size_t i = 0; i < count; ++i) {
    unsigned u = units[i];
    if (u <= 0x7F) {
      put(u);
    } else if (u <= 0x7FF) {
      put(0xC0 | ((u >> 6) & 0x1F));
      put(0x80 | (u & 0x3F));
    } else {
      put(0xE0 | ((u >> 12) & 0x0F));
      put(0x80 | ((u >> 6) & 0x3F));
      put(0x80 | (u & 0x3F));
    }
  }
  if (writing) destination[length] = '\0';
  return length;
}

std::optional<std::u16string> to_wide(const char* text, std::size_t* byte_count) {
  if (text == nullptr) return std::nullopt;
  std::size_t length = std::strlen(text);
  if (byte_count != nullptr) *byte_count = 2 * length;
  return decode_cp932(std::string_view(text, length));
}

std::string to_utf8(const char* text, std::size_t* length) {
  std::optional<std::u16string> wide = to_wide(text);
  std::size_t n = 0;
  std::string result;
  if (wide) {
    // Units up to the first zero unit; the decoder yields none from a zero-terminated text.
    std::size_t units = std::u16string_view(*wide).find(u'\0');
    if (units == std::u16string_view::npos) units = wide->size();
    n = utf16_to_utf8(nullptr, wide->data(), units, true);
    // A zero-filled buffer of n + 3 bytes: the text, its terminating zero and two spare bytes.
    result.assign(n + 3, '\0');
    utf16_to_utf8(result.data(), wide->data(), units, false);
    result.resize(n);
  }
  if (length != nullptr) *length = n;
  return result;
}

}  // namespace tolvane
