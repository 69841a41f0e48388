#include "number_read.hpp"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/chars.hpp"

namespace brevanto {
namespace {

using platform::is_digit;

bool is_blank(char c) {
  return c == ' ' || c == '\t';
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
  std::string normal(item.substr(0, pos));
  if (pos < item.size()) {
    const char e = item[pos];
    if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return std::nullopt;
    ++pos;
    normal += 'e';
    if (pos < item.size() && (item[pos] == '+' || item[pos] == '-')) normal += item[pos++];
    const std::size_t exp_digits = digits(item.substr(pos));
    if (exp_digits == 0 || pos + exp_digits != item.size()) return std::nullopt;
    normal += item.substr(pos);
  }
  if (normal[0] == '+') normal.erase(0, 1);  // from_chars takes no plus sign
  double value = 0;
  const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (ec != std::errc() || end != normal.data() + normal.size()) return std::nullopt;
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

}  // namespace brevanto
