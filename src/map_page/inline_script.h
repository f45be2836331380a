// Text placed inside the map page's script and style elements, where it must neither end the
// element nor open a comment or close a CDATA section around it.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// `text` as the content of a <script> (tag "script") or <style> (tag "style") element: "</" and
// the tag name (in any case) become "<\/" and the name, "<!--" becomes "<\!--" (both valid
// inside strings and patterns, where they alone can occur), and "]]>" becomes "]] >".
std::string inline_element_text(std::string_view text, std::string_view tag);

// `text` as a double-quoted JavaScript string literal, quotes included. Backslash, quotes,
// controls, "<", ">", "&" and the line separators U+2028 and U+2029 are written as escapes, so
// that no setting can end the string, the script or the page's CDATA section.
std::string script_string_literal(std::string_view text);

}  // namespace tolvane
