#include "value_primitives.hpp"

#include <cmath>
#include <optional>

#include "MajMin.hpp"
#include "dates.hpp"
#include "fixed_text.hpp"
#include "number_read.hpp"
#include "platform.hpp"

namespace brevanto {

std::int32_t day_serial(std::int32_t year, std::int32_t month, std::int32_t day) {
  return jd(year, month, day) - jd(1900, 1, 1) + 2;
}

TypedValue get_val_type(Console& con, std::string_view val) {
  TypedValue typed;
  if (case_blind_compare(val, "today")) {
    const platform::LocalTime now = platform::local_time();
    typed.typ = 'I';
    typed.ival = day_serial(now.year, now.month, now.day);
    // Also the real equivalent, so that an AGL or BASE conversion of "today" works on the date
    // rather than on whatever a previous value left.
    typed.fval = static_cast<float>(typed.ival);
    con.trace(typed.ival);
    return typed;
  }
  if (val.find('.') != std::string_view::npos) {
    if (const std::optional<float> f = read_real(val)) {
      typed.typ = 'R';
      typed.fval = *f;
    }
    return typed;
  }
  if (const std::optional<std::int32_t> i = read_int(val)) {
    typed.typ = 'I';
    typed.ival = *i;
    typed.fval = static_cast<float>(*i);
  }
  return typed;
}

bool flt_eq(Console& con, float val, float val0, float fltpntacy) {
  if (val0 == 0.0f) return val == 0.0f;
  const double diff = static_cast<double>(val) - static_cast<double>(val0);
  const double rel = diff / static_cast<double>(val0);
  con.trace(val, val0, diff, rel);
  return std::fabs(rel) <= static_cast<double>(fltpntacy);  // false for a NaN
}

KeyPattern key_pattern(std::string_view key00) {
  key00 = trim_right(key00);
  using Kind = KeyPattern::Kind;
  if (key00.find_first_of("*$?%") == std::string_view::npos) return {Kind::plain, key00.size()};
  const std::size_t last = key00.size() - 1;
  // Only the first occurrence of a wildcard counts: a doubled one at the end is misplaced.
  if (key00.find('*') == last) return {Kind::any_ending, last};
  if (key00.find('$') == last) return {Kind::between, last};
  if (key00.find('?') == last) return {Kind::between_but_last, last};
  if (key00.find('%') == last) return {Kind::before_finish, last};
  return {Kind::misplaced, last};
}

bool wildcardcompare(Console& con, std::string_view key00, std::string_view key, int ntpcur,
                     int nb_wp) {
  return wildcardcompare(con, key00, key_pattern(key00), key, ntpcur, nb_wp);
}

bool wildcardcompare(Console& con, std::string_view key00, const KeyPattern& pattern,
                     std::string_view key, int ntpcur, int nb_wp) {
  using Kind = KeyPattern::Kind;
  key = trim_right(key);
  const std::size_t length = pattern.prefix;
  switch (pattern.kind) {
    case Kind::plain:
      return key == key00.substr(0, length);
    case Kind::any_ending:
      return key.substr(0, length) == key00.substr(0, length) && key.size() >= length;
    case Kind::misplaced:
      con.trace("incorrect wildcard ", trim_right(key00));
      return false;
    case Kind::between:
    case Kind::between_but_last:
    case Kind::before_finish:
      break;
  }
  if (key.size() < length || ntpcur < 0) return false;
  const int number = read_int(key.substr(length)).value_or(-1);
  if (key.substr(0, length) != key00.substr(0, length) || number <= 1) return false;
  // Wider than the count, which may be any 32-bit number the plan wrote.
  const long long finish = static_cast<long long>(nb_wp) - 1;
  switch (pattern.kind) {
    case Kind::between:
      return number < finish;
    case Kind::between_but_last:
      return number < finish - 1;
    default:
      return number == finish - 1;
  }
}

float get_cloud_base(Console& con, const FlightPlan& fpl) {
  const float ground_temperature = fpl.thermalstemp[0];
  const float dew_point = fpl.thermalsdew[0];
  const float inversion_height = fpl.thermalsinversionheight[0];
  const float ground = fpl.tpz[0];
  float base_height = (ground_temperature - 273.15f - dew_point) * 125.0f;
  if (std::isnan(base_height) || base_height > inversion_height) base_height = inversion_height;
  const float cloud_base = base_height + ground;
  con.trace(ground, ground_temperature, dew_point, inversion_height, cloud_base);
  return cloud_base;
}

}  // namespace brevanto
