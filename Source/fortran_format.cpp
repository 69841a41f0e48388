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

namespace {

// The shortest text that reads back as `value`, with ".0" when it would read as an integer.
void append_real(std::string& out, float value) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  const std::string_view s(buf, ec == std::errc() ? static_cast<std::size_t>(end - buf) : 0);
  out += s;
  if (std::isfinite(value) && s.find_first_of(".e") == std::string_view::npos) out += ".0";
}

}  // namespace

std::string fmt_real(float value) {
  std::string s;
  append_real(s, value);
  return s;
}

TraceLine& TraceLine::add(std::string_view s) {
  if (!empty_ && !last_was_text_) out_ += ' ';
  out_ += s;
  last_was_text_ = true;
  empty_ = false;
  return *this;
}

TraceLine& TraceLine::add_number(std::string_view s) {
  if (!empty_) out_ += ' ';
  out_ += s;
  last_was_text_ = false;
  empty_ = false;
  return *this;
}

TraceLine& TraceLine::add(bool b) {
  return add_number(b ? "T" : "F");
}

TraceLine& TraceLine::add(float v) {
  if (!empty_) out_ += ' ';
  append_real(out_, v);
  last_was_text_ = false;
  empty_ = false;
  return *this;
}

}  // namespace brevanto
