#include "core/text_format.h"

#include <charconv>
#include <cstring>

namespace tolvane {
namespace {

struct Directive {
  bool left = false;
  bool zero = false;
  int width = 0;
  int precision = -1;
};

void pad_and_append(std::string& out, const Directive& directive, const char* text,
                    std::size_t length) {
  const std::size_t width = directive.width > 0 ? static_cast<std::size_t>(directive.width) : 0;
  if (length >= width) {
    out.append(text, length);
    return;
  }
  const std::size_t fill = width - length;
  if (directive.left) {
    out.append(text, length);
    out.append(fill, ' ');
  } else if (directive.zero) {
    // Zeros go after the sign.
    std::size_t sign = (length > 0 && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    out.append(text, sign);
    out.append(fill, '0');
    out.append(text + sign, length - sign);
  } else {
    out.append(fill, ' ');
    out.append(text, length);
  }
}

template <class Integer>
void append_integer(std::string& out, const Directive& directive, Integer value, int base = 10) {
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, base);
  std::size_t length = static_cast<std::size_t>(result.ptr - buffer);
  // A precision gives the minimum number of digits, as printf has it.
  if (directive.precision >= 0) {
    std::size_t sign = (buffer[0] == '-') ? 1 : 0;
    std::size_t digits = length - sign;
    std::string text(buffer, sign);
    if (static_cast<std::size_t>(directive.precision) > digits) {
      text.append(static_cast<std::size_t>(directive.precision) - digits, '0');
    }
    if (!(directive.precision == 0 && value == 0)) text.append(buffer + sign, digits);
    Directive plain = directive;
    plain.zero = false;
    pad_and_append(out, plain, text.data(), text.size());
    return;
  }
  pad_and_append(out, directive, buffer, length);
}

void append_fixed(std::string& out, const Directive& directive, double value) {
  char buffer[512];
  const int precision =
      directive.precision < 0 ? 6 : (directive.precision > 100 ? 100 : directive.precision);
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  if (result.ec != std::errc()) return;
  std::size_t length = static_cast<std::size_t>(result.ptr - buffer);
  Directive used = directive;
  if (length > 0 && (buffer[length - 1] == 'n' || buffer[length - 1] == 'f')) {
    used.zero = false;  // inf and nan are never zero-padded
  }
  pad_and_append(out, used, buffer, length);
}

}  // namespace

void append_format_v(std::string& out, const char* format, std::va_list args) {
  const char* p = format;
  while (*p) {
    const char* percent = std::strchr(p, '%');
    if (!percent) {
      out.append(p);
      return;
    }
    out.append(p, static_cast<std::size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      out.push_back('%');
      ++p;
      continue;
    }
    Directive directive;
    for (;; ++p) {
      if (*p == '-') {
        directive.left = true;
      } else if (*p == '0') {
        directive.zero = true;
      } else if (*p == '+' || *p == ' ' || *p == '#') {
        // not used by the outputs; accepted and ignored
      } else {
        break;
      }
    }
    while (*p >= '0' && *p <= '9') directive.width = directive.width * 10 + (*p++ - '0');
    if (*p == '.') {
      ++p;
      directive.precision = 0;
      while (*p >= '0' && *p <= '9') directive.precision = directive.precision * 10 + (*p++ - '0');
    }
    if (directive.left) directive.zero = false;
    switch (*p) {
      case 'd':
      case 'i':
        append_integer(out, directive, va_arg(args, int));
        break;
      case 'u':
        append_integer(out, directive, va_arg(args, unsigned));
        break;
      case 'x':
        append_integer(out, directive, va_arg(args, unsigned), 16);
        break;
      case 'f':
        append_fixed(out, directive, va_arg(args, double));
        break;
      case 's': {
        const char* text = va_arg(args, const char*);
        if (!text) text = "(null)";
        std::size_t length = std::strlen(text);
        if (directive.precision >= 0 && static_cast<std::size_t>(directive.precision) < length) {
          length = static_cast<std::size_t>(directive.precision);
        }
        Directive plain = directive;
        plain.zero = false;
        pad_and_append(out, plain, text, length);
        break;
      }
      case 'c': {
        char c = static_cast<char>(va_arg(args, int));
        pad_and_append(out, directive, &c, 1);
        break;
      }
      default:
        // An unknown conversion is written as it stands.
        out.push_back('%');
        if (*p == '\0') return;
        out.push_back(*p);
        break;
    }
    ++p;
  }
}

void append_format(std::string& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  append_format_v(out, format, args);
  va_end(args);
}

std::string format_text(const char* format, ...) {
  std::string out;
  std::va_list args;
  va_start(args, format);
  append_format_v(out, format, args);
  va_end(args);
  return out;
}

}  // namespace tolvane
