// Reals to and from text, exact and whatever the locale: the one place that chooses how. A
// standard library with the floating-point conversions of <charconv> does the work; one
// without them (the browser build's) gets the same bytes from its C library, see c_library.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace brevanto {

// The number the whole text writes in decimal: an optional minus sign, digits with at most one
// point, an optional exponent "e" or "E" with an optional sign ("-1.5e3", ".5", "5."). Correctly
// rounded to the nearest double. No value for any other text (blanks, a plus sign in front,
// hexadecimal, "inf", "nan"), for a number beyond the range of a double, or for one that is
// not zero but rounds to zero.
std::optional<double> decimal_value(std::string_view text);

// As std::to_chars(first, last, value): the fewest characters that read back as the same
// 32-bit real ("1e+05", "0.1", "123456792", "-0", "inf", "nan").
std::to_chars_result real_to_chars(char* first, char* last, float value);

// As std::to_chars(first, last, value, format, precision), for the fixed, scientific and
// general formats: printf's "%.*f", "%.*e" and "%.*g" in the "C" locale.
std::to_chars_result real_to_chars(char* first, char* last, double value, std::chars_format format,
                                   int precision);

// The same three from the C library's strtod, strtof and snprintf, for a standard library
// without the floating-point <charconv>. They are exact only where the C library is (musl,
// Emscripten's, converts exactly and correctly rounded) and locale-independent only where its
// numbers ignore the locale (Emscripten's has only "." as decimal point, whatever setlocale
// accepts); the native build runs them in its tests only, to hold them to the results above.
namespace c_library {
std::optional<double> decimal_value(std::string_view text);
std::to_chars_result real_to_chars(char* first, char* last, float value);
std::to_chars_result real_to_chars(char* first, char* last, double value, std::chars_format format,
                                   int precision);
}  // namespace c_library

}  // namespace brevanto
