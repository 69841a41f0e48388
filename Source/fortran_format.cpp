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

void TraceWriter::add(float v) {
  number_start();
  char* const start = p_;
  const auto [end, ec] = std::to_chars(p_, p_ + kRealRoom - 2, v);
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
