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

bool ends_item(char c) {
  return is_blank(c) || c == ',' || c == '/';
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
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (ends_item(c)) break;
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
  // One pass over the first item checks its form (sign, digits with at most one ".", an
  // optional exponent) and gathers its digits as m x 10^e.
  std::size_t i = 0;
  while (i < text.size() && is_blank(text[i]))
    ++i;
  const std::size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  // Every m up to 2^53 is an exact double; a digit more must not pass it.
  constexpr std::uint64_t kLargest = ((std::uint64_t{1} << 53) - 9) / 10;
  std::uint64_t m = 0;
  bool exact = true;
  long long e = 0;
  std::size_t digit_count = 0;
  const auto digit = [&](char c) {
    if (m > kLargest) exact = false;
    if (exact) m = m * 10 + static_cast<std::uint64_t>(c - '0');
    ++digit_count;
  };
  for (; i < text.size() && is_digit(text[i]); ++i)
    digit(text[i]);
  if (i < text.size() && text[i] == '.') {
    for (++i; i < text.size() && is_digit(text[i]); ++i) {
      digit(text[i]);
      --e;
    }
  }
  if (digit_count == 0) return std::nullopt;
  std::size_t exponent_at = std::string_view::npos;  // where the exponent letter stands
  if (i < text.size() && !ends_item(text[i])) {
    const char letter = text[i];
    if (letter != 'E' && letter != 'e' && letter != 'D' && letter != 'd') return std::nullopt;
    exponent_at = i;
    ++i;
    const bool minus = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    const std::size_t exponent_digits = i;
    long long x = 0;
    for (; i < text.size() && is_digit(text[i]); ++i) {
      if (x < 100000) x = x * 10 + (text[i] - '0');
    }
    if (i == exponent_digits || (i < text.size() && !ends_item(text[i]))) return std::nullopt;
    e += minus ? -x : x;
  }
  const std::string_view item = text.substr(start, i - start);

  constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  double value = 0;
  if (exact && e >= -22 && e <= 22) {
    // m and 10^|e| are exact doubles: one multiplication or division rounds their product
    // exactly as the full conversion of the text would.
    const double d = static_cast<double>(m);
    value = e < 0 ? d / kPowers[static_cast<std::size_t>(-e)]
                  : d * kPowers[static_cast<std::size_t>(e)];
    if (item[0] == '-') value = -value;
  } else {
    std::string_view number = item;  // as from_chars reads it
    std::string normal;
    if (exponent_at != std::string_view::npos &&
        (text[exponent_at] == 'D' || text[exponent_at] == 'd')) {
      normal = item;
      normal[exponent_at - start] = 'e';
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
