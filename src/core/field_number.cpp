#include "core/field_number.h"

#include <cstdint>

#include "core/c_number.h"

namespace tolvane {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;
// Up to 15 significant digits the digits form an integer that a double holds exactly.
constexpr int kMostExactDigits = 15;

}  // namespace

double field_atof(const char* text) {
  // An optional sign, digits, a point and digits. With at most 15 significant digits and 22
  // after the point, both the digits and the power of ten are exact doubles, and their one
  // correctly rounded division is the correctly rounded value of the text, as strtod gives it.
  // Anything else (blanks, exponents, hexadecimal, inf, nan, long digit strings) goes to
  // c_atof.
  const char* p = text;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::uint64_t digits = 0;
  int significant = 0;
  int after_point = 0;
  bool any_digit = false;
  for (; is_digit(*p); ++p) {
    any_digit = true;
    digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
    if (digits != 0 && ++significant > kMostExactDigits) return c_atof(text);
  }
  if (*p == '.') {
    for (++p; is_digit(*p); ++p) {
      any_digit = true;
      digits = digits * 10 + static_cast<std::uint64_t>(*p - '0');
      if (digits != 0 && ++significant > kMostExactDigits) return c_atof(text);
      if (++after_point > kLargestExactPower) return c_atof(text);
    }
  }
  if (!any_digit || is_letter(*p)) return c_atof(text);
  const double value = static_cast<double>(digits) / kExactPowersOfTen[after_point];
  return negative ? -value : value;
}

int field_atoi(const char* text) {
  // Up to 18 digits the value fits a long, as strtol would give it, before it is cut to int.
  const char* p = text;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::int64_t value = 0;
  int count = 0;
  for (; is_digit(*p); ++p) {
    if (++count > 18) return c_atoi(text);
    value = value * 10 + (*p - '0');
  }
  if (count == 0) return c_atoi(text);
  return static_cast<int>(negative ? -value : value);
}

}  // namespace tolvane
