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
  TypedValue t;
  if (case_blind_compare(val, "today")) {
    const platform::LocalTime now = platform::local_time();
    t.typ = 'I';
    t.ival = day_serial(now.year, now.month, now.day);
    // Also the real equivalent, so that an AGL or BASE conversion of "today" works on the date
    // rather than on whatever a previous value left.
    t.fval = static_cast<float>(t.ival);
    con.trace(t.ival);
    return t;
  }
  if (val.find('.') != std::string_view::npos) {
    if (const std::optional<float> f = read_real(val)) {
      t.typ = 'R';
      t.fval = *f;
    }
    return t;
  }
  if (const std::optional<std::int32_t> i = read_int(val)) {
    t.typ = 'I';
    t.ival = *i;
    t.fval = static_cast<float>(*i);
  }
  return t;
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
  const std::size_t l0 = key00.size();
  const std::size_t ll = key.size();
  const std::string_view prefix = key00.substr(0, l0 - 1);
  // Only the first occurrence of a wildcard counts: a doubled one at the end is misplaced.
  if (key00.find('*') == l0 - 1) {
    return ll >= l0 - 1 && key.substr(0, l0 - 1) == prefix;
  }
  for (const char w : std::string_view("$?%")) {
    if (key00.find(w) != l0 - 1) continue;
    if (ll < l0 - 1 || ntpcur < 0) return false;
    const int ntp = read_int(key.substr(l0 - 1)).value_or(-1);
    if (key.substr(0, l0 - 1) != prefix || ntp <= 1) return false;
    // Wider than the count, which may be any 32-bit number the plan wrote.
    const long long finish = static_cast<long long>(nb_wp) - 1;
    switch (w) {
      case '$':
        return ntp < finish;
      case '?':
        return ntp < finish - 1;
      default:
        return ntp == finish - 1;
    }
  }
  con.trace("incorrect wildcard ", key00);
  return false;
}

bool wildcard_is_incorrect(std::string_view key00) {
  key00 = trim_right(key00);
  if (key00.find_first_of("*$?%") == std::string_view::npos) return false;
  const std::size_t last = key00.size() - 1;
  for (const char w : std::string_view("*$?%")) {
    if (key00.find(w) == last) return false;
  }
  return true;
}

float get_cloud_base(Console& con, const FlightPlan& fpl) {
  const float t0 = fpl.thermalstemp[0];
  const float d0 = fpl.thermalsdew[0];
  const float i0 = fpl.thermalsinversionheight[0];
  const float z0 = fpl.tpz[0];
  float hbase = (t0 - 273.15f - d0) * 125.0f;
  if (std::isnan(hbase) || hbase > i0) hbase = i0;
  const float zbase = hbase + z0;
  con.trace(z0, t0, d0, i0, zbase);
  return zbase;
}

}  // namespace brevanto
