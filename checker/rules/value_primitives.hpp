// How the rules checker types a value, compares two reals, matches a rule key that ends with a
// wildcard, and finds the cloud base of a flight plan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "console.hpp"
#include "read_fpl_model.hpp"

namespace brevanto {

// A value as the checker compares it. `typ` is 'I' (integer: `ival`, and its real equivalent in
// `fval`), 'R' (real: `fval`) or 'C' (text: both numbers 0).
struct TypedValue {
  char typ = 'C';
  float fval = 0;
  std::int32_t ival = 0;
};

// The day serial of a date: days since 30 December 1899 (1 January 2000 is 36526).
std::int32_t day_serial(std::int32_t year, std::int32_t month, std::int32_t day);

// Types a value. "today" in any case (leading blanks count, trailing ones do not) is the integer
// day serial of the current local date, written on a console line of its own; a value holding a
// "." is real when its first item reads as one; otherwise an integer when its first item reads as
// one; anything else, a blank value and a number out of range included, is text.
TypedValue get_val_type(Console& con, std::string_view val);

// Whether `val` equals the reference `val0` within the relative tolerance `fltpntacy`, computed
// in double precision. A zero reference asks for an exact zero; otherwise a console line shows
// val, val0, their difference and the relative difference. A NaN never equals anything.
bool flt_eq(Console& con, float val, float val0, float fltpntacy);

// What a rule key selects, read from its form once: the key itself, or a prefix followed by one
// wildcard as its last character, or nothing at all (a misplaced wildcard).
struct KeyPattern {
  enum class Kind : unsigned char {
    plain,             // no wildcard: the key itself
    any_ending,        // "*": every key that begins with the prefix
    between,           // "$": the turnpoints between the start and the finish
    between_but_last,  // "?": the same without the last of them
    before_finish,     // "%": the turnpoint before the finish
    misplaced,         // a wildcard elsewhere, or doubled at the end: selects nothing
  };
  Kind kind = Kind::plain;
  std::size_t prefix = 0;  // characters before the final wildcard (the whole key when plain)
};

// The pattern of the rule key `key00` (trailing blanks ignored).
KeyPattern key_pattern(std::string_view key00);

// Whether the flight-plan key `key` is selected by the rule key `key00`. Without a wildcard the
// keys must be equal (case-sensitive). A last "*" selects every key that begins with the rest; a
// last "$", "?" or "%" selects the turnpoint keys whose number, read after the prefix, is a
// turnpoint between the start (1) and the finish (nb_wp - 1): "$" all of them, "?" all but the
// last, "%" only the last; they select nothing while `ntpcur` < 0. A wildcard anywhere else, or
// doubled at the end, writes "incorrect wildcard <key00>" on the console and selects nothing.
bool wildcardcompare(Console& con, std::string_view key00, std::string_view key, int ntpcur,
                     int nb_wp);

// The same with the pattern of `key00` already known: `pattern` must be key_pattern(key00).
bool wildcardcompare(Console& con, std::string_view key00, const KeyPattern& pattern,
                     std::string_view key, int ntpcur, int nb_wp);

// The cloud base of the plan held in the model, metres above sea level: 125 m per degree between
// the ground temperature and the dew point of weather zone 0, at most the zone's inversion
// height, above the take-off point (turnpoint 0). Writes its inputs and result on the console.
float get_cloud_base(Console& con, const FlightPlan& fpl);

}  // namespace brevanto
