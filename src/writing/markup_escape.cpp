#include "writing/markup_escape.h"

#include "platform/path_text.h"

namespace tolvane {

namespace {

std::string escape_html(std::string_view text, bool quotes) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += quotes ? "&quot;" : "\"";
        break;
      case '\'':
        out += quotes ? "&#39;" : "'";
        break;
      default:
        out += c;
    }
  }
  return out;
}

}  // namespace

std::string escape_html_text(std::string_view text) { return escape_html(text, false); }

std::string escape_html_attribute(std::string_view text) { return escape_html(text, true); }

std::string escape_js_string(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\'':
        out += "\\'";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '<':
        // "</script>" must not close the script element around the string.
        out += (i + 1 < text.size() && text[i + 1] == '/') ? "\\x3C" : "<";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string escape_url_path(std::string_view text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80) {
      // A well-formed UTF-8 character stays; a byte outside one is encoded.
      const std::size_t length = utf8_character_length(text, at);
      if (length != 0) {
        out.append(text.substr(at, length));
        at += length - 1;
        continue;
      }
    }
    bool encode = byte < 0x20 || byte >= 0x7F;
    switch (c) {
      case ' ':
      case '"':
      case '#':
      case '%':
      case '&':
      case '\'':
      case ':':
      case '<':
      case '>':
      case '?':
      case '\\':
      case '^':
      case '`':
      case '{':
      case '|':
      case '}':
        encode = true;
        break;
      default:
        break;
    }
    if (encode) {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += c;
    }
  }
  return out;
}

std::string escape_cdata(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("]]>", start)) != std::string_view::npos; start = at + 3) {
    out.append(text.substr(start, at - start));
    out += "]]]]><![CDATA[>";
  }
  out.append(text.substr(start));
  return out;
}

}  // namespace tolvane
