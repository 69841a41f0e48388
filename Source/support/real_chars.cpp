#include "real_chars.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <version>

namespace brevanto {

namespace {

// Where the decimal form may start: a digit or the point, after a minus sign. It keeps out
// what from_chars or strtod would read besides ("inf", "nan", blanks, "+").
bool decimal_start(std::string_view text) {
  const std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  return i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.');
}

std::to_chars_result put(char* first, char* last, std::string_view text) {
  if (text.size() > static_cast<std::size_t>(last - first)) {
    return {last, std::errc::value_too_large};
  }
  if (!text.empty()) std::memcpy(first, text.data(), text.size());
  return {first + text.size(), std::errc()};
}

// Infinity and NaN as std::to_chars writes them, whatever the C library's spelling.
std::string_view non_finite(double value) {
  if (std::isnan(value)) return std::signbit(value) ? "-nan" : "nan";
  return std::signbit(value) ? "-inf" : "inf";
}

// A positive real's significant digits, d.ddd x 10^exponent.
struct Digits {
  std::string mantissa;  // without the point
  int exponent = 0;
};

// The number of `count` significant digits nearest to the real, exactly as printf rounds it.
Digits nearest_digits(float magnitude, int count) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*e", count - 1, static_cast<double>(magnitude));
  const char* const e = std::strchr(text, 'e');
  Digits d{std::string(text, static_cast<std::size_t>(e - text)), std::atoi(e + 1)};
  if (count > 1) d.mantissa.erase(1, 1);
  return d;
}

// "d.ddde+XX", as printf writes it.
std::string scientific_form(const Digits& d) {
  std::string text = d.mantissa.substr(0, 1);
  if (d.mantissa.size() > 1) text += "." + d.mantissa.substr(1);
  char exponent[8];
  std::snprintf(exponent, sizeof exponent, "e%+03d", d.exponent);
  return text + exponent;
}

bool reads_back(const Digits& d, float magnitude) {
  return std::strtof(scientific_form(d).c_str(), nullptr) == magnitude;
}

// The next number up with as many digits: 1.29 after 1.28, 1.00e+01 after 9.99.
Digits next_up(Digits d) {
  std::size_t i = d.mantissa.size();
  while (i > 0 && d.mantissa[i - 1] == '9')
    d.mantissa[--i] = '0';
  if (i > 0) {
    ++d.mantissa[i - 1];
  } else {
    d.mantissa[0] = '1';
    ++d.exponent;
  }
  return d;
}

}  // namespace

namespace c_library {

std::optional<double> decimal_value(std::string_view text) {
  // strtod reads hexadecimal too: such a text is no decimal, whatever it reads as.
  if (!decimal_start(text) || text.find_first_not_of("0123456789.eE+-") != std::string::npos) {
    return std::nullopt;
  }
  const std::string copy(text);  // strtod needs the end of the text marked
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || std::isinf(value)) return std::nullopt;
  // A number too small for a double is out of range, as for from_chars; zero written as zero
  // is not. strtod's errno cannot tell: C libraries set it for some subnormals too.
  if (value == 0 &&
      copy.substr(0, copy.find_first_of("eE")).find_first_of("123456789") != std::string::npos) {
    return std::nullopt;
  }
  return value;
}

std::to_chars_result real_to_chars(char* first, char* last, float value) {
  if (!std::isfinite(value)) return put(first, last, non_finite(value));
  if (value == 0) return put(first, last, std::signbit(value) ? "-0" : "0");
  // The fewest significant digits that read back as the value (nine always do); printf gives
  // the nearest number of that many digits, the closest of those that may read back.
  const float magnitude = std::fabs(value);
  int exponent_of_two = 0;
  const bool power_of_two = std::frexp(magnitude, &exponent_of_two) == 0.5f;
  Digits d;
  for (int count = 1;; ++count) {
    d = nearest_digits(magnitude, count);
    if (count == 9 || reads_back(d, magnitude)) break;
    // Above a power of two the reals lie twice as far apart as below it: the nearest number of
    // these digits may lie below, out of reach, while the next one up reads back.
    if (power_of_two) {
      const Digits up = next_up(d);
      if (reads_back(up, magnitude)) {
        d = up;
        break;
      }
    }
  }
  const std::string sign(value < 0 ? 1 : 0, '-');
  const std::string scientific = sign + scientific_form(d);
  std::string fixed;
  const auto places = static_cast<int>(d.mantissa.size()) - 1;
  if (d.exponent < 0) {
    fixed = sign + "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.mantissa;
  } else if (d.exponent < places) {
    fixed = sign + d.mantissa;
    fixed.insert(sign.size() + static_cast<std::size_t>(d.exponent) + 1, 1, '.');
  } else {
    // A whole number in fixed notation is the value itself, every digit exact.
    char whole[48];
    std::snprintf(whole, sizeof whole, "%.0f", static_cast<double>(value));
    fixed = whole;
  }
  // Fixed notation when it is no longer than the scientific one.
  return put(first, last, fixed.size() <= scientific.size() ? fixed : scientific);
}

std::to_chars_result real_to_chars(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
  if (!std::isfinite(value)) return put(first, last, non_finite(value));
  const char* pattern = "%.*g";
  if (format == std::chars_format::fixed) pattern = "%.*f";
  if (format == std::chars_format::scientific) pattern = "%.*e";
  if (format == std::chars_format::hex) return {first, std::errc::invalid_argument};
  // Measured first, then written: a fixed number may have hundreds of digits.
  const int n = std::snprintf(nullptr, 0, pattern, precision, value);
  if (n < 0) return {first, std::errc::invalid_argument};
  std::string text(static_cast<std::size_t>(n), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, precision, value);
  return put(first, last, text);
}

}  // namespace c_library

#if defined(__cpp_lib_to_chars)

std::optional<double> decimal_value(std::string_view text) {
  if (!decimal_start(text)) return std::nullopt;
  double value = 0;
  const char* const last = text.data() + text.size();
  const auto [end, ec] = std::from_chars(text.data(), last, value);
  if (ec != std::errc() || end != last) return std::nullopt;
  return value;
}

std::to_chars_result real_to_chars(char* first, char* last, float value) {
  return std::to_chars(first, last, value);
}

std::to_chars_result real_to_chars(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
  return std::to_chars(first, last, value, format, precision);
}

#else

// Emscripten's libc++ (3.1.6) has only the integer conversions of <charconv>; its C library
// has only the "C" numeric locale, where strtod and snprintf are exact and locale-independent.
std::optional<double> decimal_value(std::string_view text) {
  return c_library::decimal_value(text);
}

std::to_chars_result real_to_chars(char* first, char* last, float value) {
  return c_library::real_to_chars(first, last, value);
}

std::to_chars_result real_to_chars(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
  return c_library::real_to_chars(first, last, value, format, precision);
}

#endif

}  // namespace brevanto
