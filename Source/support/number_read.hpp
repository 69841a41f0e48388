// Free-form number reading: every number the program reads from a file or a setting goes
// through these routines. The number is the text's first item: leading blanks are skipped and
// the item ends at a blank, a comma or a slash ("5 km" and "5,3" both read as 5). They never
// throw and never overflow: a blank text, an empty item, junk, or a value out of range gives
// no value.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace brevanto {

// The first item of the text, as described above (empty when the text is blank).
std::string_view first_item(std::string_view text);

// An integer item: optional sign and decimal digits only, within 32 bits ("3000.0" fails).
std::optional<std::int32_t> read_int(std::string_view text);

// A real item: integer, fixed ("2.5", ".5", "5.") or exponent form with E, e, D or d
// ("1.5E3", "15d-1"), within the range of a 32-bit real.
std::optional<float> read_real(std::string_view text);

}  // namespace brevanto
