#include "fortran_format.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "real_chars.hpp"

namespace brevanto {

namespace {

// A field width as a length; a negative width is an empty field.
std::size_t field_length(int width) {
  return static_cast<std::size_t>(std::max(width, 0));
}

}  // namespace

std::string fmt_i(std::int64_t value, int width) {
  const std::size_t field = field_length(width);
  const std::string digits = std::to_string(value);
  if (digits.size() > field) return std::string(field, '*');
  return std::string(field - digits.size(), ' ') + digits;
}

std::string fmt_f(double value, int width, int decimals) {
  const std::size_t field = field_length(width);
  if (!std::isfinite(value)) return std::string(field, '*');
  // Measured first, then written into its place: a number of any length is laid out whole.
  const int n = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  if (n < 0 || static_cast<std::size_t>(n) > field) return std::string(field, '*');
  const auto length = static_cast<std::size_t>(n);
  std::string text(field, ' ');
  std::snprintf(text.data() + (field - length), length + 1, "%.*f", decimals, value);
  return text;
}

void TraceWriter::add(float v) {
  number_start();
  char* const start = p_;
  const auto [end, ec] = real_to_chars(p_, p_ + kRealRoom - 2, v);
  p_ = ec == std::errc() ? end : start;
  // The shortest form of a whole number has no point: the free format shows one.
  if (std::isfinite(v) &&
      std::string_view(start, static_cast<std::size_t>(p_ - start)).find_first_of(".e") ==
          std::string_view::npos) {
    *p_++ = '.';
    *p_++ = '0';
  }
}

}  // namespace brevanto
