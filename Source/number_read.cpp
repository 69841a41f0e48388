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

// The value of the decimal <int_part>.<frac_part>E<exponent> (digits; the exponent with its
// sign or empty) when it is m × 10^e with m below 2^53 and |e| at most 22: both are then exact
// doubles, and one multiplication or division rounds their product exactly as the conversion of
// the whole text would. Nothing otherwise, for the full conversion to do.
std::optional<double> exact_decimal(std::string_view int_part, std::string_view frac_part,
                                    std::string_view exponent) {
  constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  // Every m up to 2^53 is an exact double; a digit more must not pass it.
  constexpr std::uint64_t kLargest = ((std::uint64_t{1} << 53) - 9) / 10;
  std::uint64_t m = 0;
  for (const std::string_view part : {int_part, frac_part}) {
    for (const char c : part) {
      if (m > kLargest) return std::nullopt;
      m = m * 10 + static_cast<std::uint64_t>(c - '0');
    }
  }
  long long e = -static_cast<long long>(frac_part.size());
  if (!exponent.empty()) {
    const bool minus = exponent[0] == '-';
    if (exponent[0] == '+' || exponent[0] == '-') exponent.remove_prefix(1);
    if (exponent.size() > 4) return std::nullopt;
    long long x = 0;
    for (const char c : exponent)
      x = x * 10 + (c - '0');
    e += minus ? -x : x;
  }
  if (e < -22 || e > 22) return std::nullopt;
  const double d = static_cast<double>(m);
  return e < 0 ? d / kPowers[static_cast<std::size_t>(-e)]
               : d * kPowers[static_cast<std::size_t>(e)];
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
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (is_blank(c) || c == ',' || c == '/') break;  // the end of the item
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kLimit) return std::nullopt;
  }
  if (i == first_digit) return std::nullopt;
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

std::optional<float> read_real(std::string_view text) {
  const std::string_view item = first_item(text);
  // Check the form by hand: sign, digits with at most one ".", then an optional exponent.
  std::size_t pos = 0;
  if (pos < item.size() && (item[pos] == '+' || item[pos] == '-')) ++pos;
  const std::size_t int_at = pos;
  const std::size_t int_digits = digits(item.substr(pos));
  pos += int_digits;
  std::size_t frac_digits = 0;
  if (pos < item.size() && item[pos] == '.') {
    ++pos;
    frac_digits = digits(item.substr(pos));
    pos += frac_digits;
  }
  if (int_digits + frac_digits == 0) return std::nullopt;
  const std::size_t frac_at = pos - frac_digits;
  std::string_view exponent;  // its sign and digits
  char e = 'e';
  if (pos < item.size()) {
    e = item[pos];
    if (e != 'E' && e != 'e' && e != 'D' && e != 'd') return std::nullopt;
    std::size_t exp = pos + 1;
    if (exp < item.size() && (item[exp] == '+' || item[exp] == '-')) ++exp;
    const std::size_t exp_digits = digits(item.substr(exp));
    if (exp_digits == 0 || exp + exp_digits != item.size()) return std::nullopt;
    exponent = item.substr(pos + 1);
  }

  double value = 0;
  const std::optional<double> exact =
      exact_decimal(item.substr(int_at, int_digits), item.substr(frac_at, frac_digits), exponent);
  if (exact) {
    value = item[0] == '-' ? -*exact : *exact;
  } else {
    std::string_view number = item;  // as from_chars reads it
    std::string normal;
    if (e == 'D' || e == 'd') {
      normal = item;
      normal[pos] = 'e';
      number = normal;
    }
    if (number[0] == '+') number.remove_prefix(1);  // from_chars takes no plus sign
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
  }
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
    return std::nullopt;
  }
  return static_cast<float>(value);
}

}  // namespace brevanto
