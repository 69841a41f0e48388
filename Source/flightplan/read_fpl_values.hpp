// How the flight-plan reader turns the texts of a plan into model values. A value that does not
// convert leaves its field as it was; an index outside the model is told apart from a text that
// is no number at all, because the two are handled differently (the line is ignored, or the
// previous index stays in force).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevanto {

// An index written in a plan: the first item of the text read as an integer. An integer too
// large for 32 bits gives a value outside every bound of the model (it is an index, only out of
// range); a text that is not an integer gives none.
std::optional<long long> read_index(std::string_view text);

// The nearest integer, halves away from zero (499.5 -> 500, -0.5 -> -1); none when the result
// does not fit 32 bits or the value is not finite.
std::optional<std::int32_t> nint(double value);

// Radians (as the plan writes azimuths) to degrees, in 32-bit arithmetic.
float radians_to_degrees(float radians);

// Field setters: each leaves the field unchanged when the value does not convert.
void set_int(int& field, std::string_view val);
void set_real(float& field, std::string_view val);
void set_rounded(int& field, std::string_view val);    // a real, rounded to the nearest integer
void set_rounded(float& field, std::string_view val);  // a real, rounded to a whole number
void set_text(std::string& field, std::string_view val, std::size_t width);
void set_flag(bool& field, std::string_view val);  // yes/no

// A point of a penalty zone or weather-zone polygon, as written after its key's prefix:
// <point>X<zone>=<value> or <point>Y<zone>=<value>.
struct PolygonItem {
  int coord = 0;                   // 1: X, 2: Y
  std::optional<long long> point;  // corner or polygon point index
  std::optional<long long> zone;   // zone index
  std::optional<float> value;      // the coordinate
};
// The text after the prefix, cut to 80 characters, split at its first "X" (else its first "Y")
// and its first "=". None when it has neither "X" nor "Y", or no "=" after it.
std::optional<PolygonItem> split_polygon_item(std::string_view text);

}  // namespace brevanto
