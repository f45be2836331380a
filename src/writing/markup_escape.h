// Escaping of file names and paths for the places they land in: HTML text and attributes,
// JavaScript strings, URL paths and KML CDATA sections. Letters (also non-ASCII ones), digits,
// ".", "-", "_" and "/" pass through unchanged.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// & < > as entities (HTML text).
std::string escape_html_text(std::string_view text);
// & < > " ' as entities (an attribute value in double or single quotes).
std::string escape_html_attribute(std::string_view text);
// Backslash, quotes, line breaks and "</" escaped for a JavaScript string literal.
std::string escape_js_string(std::string_view text);
// Percent-encodes what would end, redirect or break a URL path: controls, space, " # % & ' : <
// > ? \ ^ ` { | } and DEL. Well-formed UTF-8 characters are kept; any other byte from 0x80 up
// is encoded too. "&" is encoded because the map
// page's script writes the address into the child window's markup as it stands, where "&amp;"
// or "&copy." in a file name would be read as a character reference.
std::string escape_url_path(std::string_view text);
// Splits every "]]>" so that a CDATA section around the text stays whole.
std::string escape_cdata(std::string_view text);

}  // namespace tolvane
