#include "number_read.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "chars.hpp"
#include "real_chars.hpp"

namespace brevanto {
namespace {

using platform::is_digit;

bool is_blank(char c) {
  return c == ' ' || c == '\t';
}

bool ends_item(char c) {
  return is_blank(c) || c == ',' || c == '/';
}

// A real's first item as read in one pass: where it lies, and its digits as m x 10^e.
struct Decimal {
  std::size_t start = 0;  // the item in the text
  std::size_t end = 0;
  std::size_t exponent_at = std::string_view::npos;  // its exponent letter
  std::uint64_t m = 0;
  bool exact = true;  // m holds all the digits: it stayed below 2^53
  long long e = 0;
};

// The run of digits at `i` added to the decimal; `fraction` digits lower its exponent. Returns
// how many there were.
std::size_t gather_digits(std::string_view text, std::size_t& i, Decimal& d, bool fraction) {
  // Every m up to 2^53 is an exact double; a digit more must not pass it.
  constexpr std::uint64_t kLargest = ((std::uint64_t{1} << 53) - 9) / 10;
  const std::size_t first = i;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    if (d.m > kLargest) d.exact = false;
    if (d.exact) d.m = d.m * 10 + static_cast<std::uint64_t>(text[i] - '0');
    if (fraction) --d.e;
  }
  return i - first;
}

// The exponent that starts at `i` (its letter), added to the decimal; false when it has no digits
// or the item goes on after them.
bool gather_exponent(std::string_view text, std::size_t& i, Decimal& d) {
  const char letter = text[i];
  if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return false;
  d.exponent_at = i++;
  const bool minus = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const std::size_t first = i;
  long long x = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    if (x < 100000) x = x * 10 + (text[i] - '0');
  }
  if (i == first || (i < text.size() && !ends_item(text[i]))) return false;
  d.e += minus ? -x : x;
  return true;
}

// The first item when it has the form of a real: sign, digits with at most one ".", an
// optional exponent.
std::optional<Decimal> scan_decimal(std::string_view text) {
  Decimal d;
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i]))
    ++i;
  d.start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = gather_digits(text, i, d, false);
  if (i < text.size() && text[i] == '.') digits += gather_digits(text, ++i, d, true);
  if (digits == 0) return std::nullopt;
  if (i < text.size() && !ends_item(text[i]) && !gather_exponent(text, i, d)) {
    return std::nullopt;
  }
  d.end = i;
  return d;
}

// The decimal's value when m and 10^|e| are exact doubles: one multiplication or division then
// rounds their product exactly as the full conversion of the text would.
std::optional<double> exact_value(const Decimal& d) {
  constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (!d.exact || d.e < -22 || d.e > 22) return std::nullopt;
  const auto m = static_cast<double>(d.m);
  return d.e < 0 ? m / kPowers[static_cast<std::size_t>(-d.e)]
                 : m * kPowers[static_cast<std::size_t>(d.e)];
}

// The full conversion of the item, its exponent written with "e" and without a plus sign in
// front, as decimal_value() reads it.
std::optional<double> full_value(std::string_view text, const Decimal& d) {
  std::string_view number = text.substr(d.start, d.end - d.start);
  std::string normal;
  if (d.exponent_at != std::string_view::npos &&
      (text[d.exponent_at] == 'D' || text[d.exponent_at] == 'd')) {
    normal = number;
    normal[d.exponent_at - d.start] = 'e';
    number = normal;
  }
  if (number[0] == '+') number.remove_prefix(1);
  return decimal_value(number);
}

}  // namespace

std::string_view first_item(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && is_blank(text[start]))
    ++start;
  std::size_t end = start;
  while (end < text.size() && !ends_item(text[end]))
    ++end;
  return text.substr(start, end - start);
}

std::optional<std::int32_t> read_int(std::string_view text) {
  // The first item read in one pass: optional sign, then digits up to its end.
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t first_digit = i;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t value = 0;
  for (; i < text.size() && is_digit(text[i]); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) return std::nullopt;
  }
  // Digits only, up to the item's end.
  if (i == first_digit || (i < text.size() && !ends_item(text[i]))) return std::nullopt;
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<float> read_real(std::string_view text) {
  const std::optional<Decimal> d = scan_decimal(text);
  if (!d) return std::nullopt;
  std::optional<double> value = exact_value(*d);
  if (value) {
    if (text[d->start] == '-') *value = -*value;
  } else {
    value = full_value(text, *d);
    if (!value) return std::nullopt;
  }
  if (!std::isfinite(*value) || std::fabs(*value) > std::numeric_limits<float>::max()) {
    return std::nullopt;
  }
  return static_cast<float>(*value);
}

}  // namespace brevanto
