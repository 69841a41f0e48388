#include "value_primitives.hpp"

#include <cmath>
#include <optional>

#include "MajMin.hpp"
#include "dates.hpp"
#include "fixed_text.hpp"
#include "number_read.hpp"
#include "platform/platform.hpp"

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

bool wildcardcompare(Console& con, std::string_view key00, std::string_view key, int ntpcur,
                     int nb_wp) {
  key00 = trim_right(key00);
  key = trim_right(key);
  constexpr std::string_view wildcards = "*$?%";
  if (key00.find_first_of(wildcards) == std::string_view::npos) return key == key00;
  const std::size_t rule_length = key00.size();
  const std::size_t key_length = key.size();
  const std::string_view prefix = key00.substr(0, rule_length - 1);
  // Only the first occurrence of a wildcard counts: a doubled one at the end is misplaced.
  if (key00.find('*') == rule_length - 1) {
    return key_length >= rule_length - 1 && key.substr(0, rule_length - 1) == prefix;
  }
  for (const char wildcard : std::string_view("$?%")) {
    if (key00.find(wildcard) != rule_length - 1) continue;
    if (key_length < rule_length - 1 || ntpcur < 0) return false;
    const int number = read_int(key.substr(rule_length - 1)).value_or(-1);
    if (key.substr(0, rule_length - 1) != prefix || number <= 1) return false;
    // Wider than the count, which may be any 32-bit number the plan wrote.
    const long long finish = static_cast<long long>(nb_wp) - 1;
    switch (wildcard) {
      case '$':
        return number < finish;
      case '?':
        return number < finish - 1;
      default:
        return number == finish - 1;
    }
  }
  con.trace("incorrect wildcard ", key00);
  return false;
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
