#include "map_page/inline_script.h"

#include <cstdio>

namespace tolvane {
namespace {

char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool starts_with_name(std::string_view text, std::size_t at, std::string_view name) {
  if (text.size() - at < name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (lower_ascii(text[at + i]) != name[i]) return false;
  }
  return true;
}

}  // namespace

std::string inline_element_text(std::string_view text, std::string_view tag) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("</") && starts_with_name(text, i + 2, tag)) {
      out += "<\\/";
      ++i;
    } else if (rest.starts_with("<!--")) {
      out += "<\\!";
      ++i;
    } else if (rest.starts_with("]]>")) {
      out += "]] >";
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string script_string_literal(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    // U+2028 and U+2029 end a line in older scripts: E2 80 A8 / E2 80 A9 in UTF-8.
    if (byte == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
        (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
         static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
      out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
      i += 2;
    } else if (byte < 0x20 || byte == 0x7F || byte == '"' || byte == '\'' || byte == '\\' ||
               byte == '<' || byte == '>' || byte == '&') {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(byte));
      out += escape;
    } else {
      out += text[i];
    }
  }
  out += '"';
  return out;
}

}  // namespace tolvane
