// Decoding of Windows Japanese text (code page 932) with the C library's iconv. Nothing here
// reads or changes the process locale, so conversions may run on any thread at any time.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

// Decodes code page 932 bytes to UTF-16 code units, one unit per character, with Microsoft's
// table: 0x5C is the backslash, 0x7E the tilde, the NEC and IBM extensions and the user-defined
// area (0xF040 to 0xF9FC, to U+E000 to U+E757) included. A byte that does not begin a valid
// character becomes U+FFFD and decoding goes on with the byte after it, so the result never
// holds more units than `bytes` has bytes.
std::u16string decode_cp932(std::string_view bytes);

}  // namespace tolvane
