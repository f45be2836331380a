#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace tolvane {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// Owns one conversion descriptor; iconv_open gives each caller its own, so threads never share.
class Converter {
 public:
  Converter() : descriptor_(::iconv_open("UTF-16LE", "CP932")) {}
  ~Converter() {
    if (valid()) ::iconv_close(descriptor_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return descriptor_; }

 private:
  iconv_t descriptor_;
};

// Without the C library's CP932 module only ASCII can be decoded.
std::u16string decode_ascii_only(std::string_view bytes) {
  std::u16string units;
  units.reserve(bytes.size());
  for (char c : bytes) {
    auto byte = static_cast<unsigned char>(c);
    units.push_back(byte < 0x80 ? char16_t{byte} : kReplacement);
  }
  return units;
}

}  // namespace

std::u16string decode_cp932(std::string_view bytes) {
  Converter converter;
  if (!converter.valid()) return decode_ascii_only(bytes);

  std::u16string units;
  units.reserve(bytes.size());
  // Every character of code page 932 is one UTF-16 unit and takes at least one byte, so a
  // chunk of n input bytes never yields more than 2 n output bytes.
  char output[1024];
  char* in = const_cast<char*>(bytes.data());  // iconv's interface is not const-correct
  std::size_t in_left = bytes.size();
  while (in_left > 0) {
    char* out = output;
    std::size_t out_left = sizeof output;
    std::size_t done = ::iconv(converter.get(), &in, &in_left, &out, &out_left);
    int error = done == static_cast<std::size_t>(-1) ? errno : 0;
    for (const char* p = output; p + 1 < out; p += 2) {
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                            (static_cast<unsigned char>(p[1]) << 8)));
    }
    if (error == EILSEQ || error == EINVAL) {
      // An invalid byte, or a lead byte cut off by the end of the text.
      units.push_back(kReplacement);
      ++in;
      --in_left;
      ::iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
    } else if (error != 0 && error != E2BIG) {
      break;
    }
  }
  return units;
}

}  // namespace tolvane
