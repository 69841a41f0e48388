#include "number_read.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace brevanto {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the run of digits at the start of the text.
std::size_t digits(std::string_view s) {
  std::size_t n = 0;
  while (n < s.size() && is_digit(s[n]))
    ++n;
  return n;
}

}  // namespace

std::string_view first_item(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && is_blank(text[start]))
    ++start;
  std::size_t end = start;
  while (end < text.size() && !is_blank(text[end]) && text[end] != ',' && text[end] != '/')
    ++end;
  return text.substr(start, end - start);
}

std::optional<std::int32_t> read_int(std::string_view text) {
  std::string_view item = first_item(text);
  bool negative = false;
  if (!item.empty() && (item[0] == '+' || item[0] == '-')) {
    negative = item[0] == '-';
    item.remove_prefix(1);
  }
  if (item.empty() || digits(item) != item.size()) return std::nullopt;
  std::int64_t value = 0;
  for (char c : item) {
    value = value * 10 + (c - '0');
    if (value > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) {
      return std::nullopt;
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<float> read_real(std::string_view text) {
  const std::string_view item = first_item(text);
  // Check the form by hand: sign, digits with at most one ".", then an optional exponent.
  std::size_t pos = 0;
  if (pos < item.size() && (item[pos] == '+' || item[pos] == '-')) ++pos;
  const std::size_t int_digits = digits(item.substr(pos));
  pos += int_digits;
  std::size_t frac_digits = 0;
  if (pos < item.size() && item[pos] == '.') {
    ++pos;
    frac_digits = digits(item.substr(pos));
    pos += frac_digits;
  }
  if (int_digits + frac_digits == 0) return std::nullopt;
  std::string_view number = item;  // as from_chars reads it
  std::string normal;
  if (pos < item.size()) {
    const char e = item[pos];
    if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return std::nullopt;
    std::size_t exp = pos + 1;
    if (exp < item.size() && (item[exp] == '+' || item[exp] == '-')) ++exp;
    const std::size_t exp_digits = digits(item.substr(exp));
    if (exp_digits == 0 || exp + exp_digits != item.size()) return std::nullopt;
    if (e == 'D' || e == 'd') {
      normal = item;
      normal[pos] = 'e';
      number = normal;
    }
  }
  if (number[0] == '+') number.remove_prefix(1);  // from_chars takes no plus sign
  double value = 0;
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

}  // namespace brevanto
