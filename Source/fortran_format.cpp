#include "fortran_format.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace brevanto {

std::string fmt_i(std::int64_t value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) > width) return std::string(width, '*');
  return std::string(width - digits.size(), ' ') + digits;
}

std::string fmt_f(double value, int width, int decimals) {
  if (!std::isfinite(value)) return std::string(width, '*');
  char buf[512];
  const int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  if (n < 0 || n > width) return std::string(width, '*');
  return std::string(width - n, ' ') + std::string(buf, n);
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
