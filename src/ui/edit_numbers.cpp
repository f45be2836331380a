#include "ui/edit_numbers.h"

namespace tolvane {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// The number in `text` with its sign, or nothing when the text is not one integer within
// [-max_negative, max_positive].
std::optional<long long> read_integer(std::string_view text, long long max_positive,
                                      long long max_negative) {
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i])) ++i;
  const std::size_t first = i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t digits = i;
  long long value = 0;
  const long long limit = negative ? max_negative : max_positive;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10 + (text[i] - '0');
    if (value > limit) return std::nullopt;
    ++i;
  }
  if (i == digits) return std::nullopt;
  while (i < text.size() && is_blank(text[i])) ++i;
  if (i != text.size()) return std::nullopt;
  // A zero counts only when written as a plain digit 0.
  if (value == 0 && text[first] != '0') return std::nullopt;
  return negative ? -value : value;
}

}  // namespace

std::optional<std::int32_t> read_signed_edit(std::string_view text) {
  const auto value = read_integer(text.substr(0, kEditTextLimit), 2147483647LL, 2147483648LL);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

std::optional<std::uint32_t> read_unsigned_edit(std::string_view text) {
  const auto value = read_integer(text.substr(0, kEditTextLimit), 4294967295LL, 0);
  if (!value) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

}  // namespace tolvane
