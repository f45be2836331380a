#include "platform/path_text.h"

namespace tolvane {

std::size_t find_last_separator(std::string_view path) { return path.rfind(kPathSeparator); }

std::string_view file_name_of(std::string_view path) {
  std::size_t separator = find_last_separator(path);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string native_to_utf8(const std::filesystem::path& path) { return path.native(); }

std::size_t utf8_character_length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  // The range of the second byte, narrowed for the lead bytes that would otherwise allow
  // overlong forms, surrogates or values above U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  if (byte(at + 1) < low || byte(at + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  }
  return length;
}

namespace {

template <typename Replace>
std::string valid_utf8(std::string_view bytes, Replace replace) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t length = utf8_character_length(bytes, at);
    if (length == 0) {
      replace(out, static_cast<unsigned char>(bytes[at]));
      ++at;
    } else {
      out.append(bytes.substr(at, length));
      at += length;
    }
  }
  return out;
}

}  // namespace

std::string utf8_name_text(std::string_view bytes) {
  return valid_utf8(bytes, [](std::string& out, unsigned char byte) {
    static const char kHex[] = "0123456789ABCDEF";
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
  });
}

std::string utf8_display_text(std::string_view bytes) {
  return valid_utf8(bytes, [](std::string& out, unsigned char) { out += "\xEF\xBF\xBD"; });
}

}  // namespace tolvane
