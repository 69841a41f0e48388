#include "fortran_format.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

std::string fmt_real(float value) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, ec == std::errc() ? end : buf);
  if (std::isfinite(value) && s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

TraceLine& TraceLine::add(std::string_view s) {
  if (!empty_ && !last_was_text_) text_ += ' ';
  text_ += s;
  last_was_text_ = true;
  empty_ = false;
  return *this;
}

TraceLine& TraceLine::add_number(const std::string& s) {
  if (!empty_) text_ += ' ';
  text_ += s;
  last_was_text_ = false;
  empty_ = false;
  return *this;
}

TraceLine& TraceLine::add(bool b) {
  return add_number(b ? "T" : "F");
}

TraceLine& TraceLine::add(float v) {
  return add_number(fmt_real(v));
}

}  // namespace brevanto
