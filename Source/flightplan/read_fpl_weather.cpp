#include "read_fpl_weather.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dates.hpp"
#include "number_read.hpp"
#include "plan_keys.hpp"
#include "read_fpl_values.hpp"

namespace brevanto {
namespace {

template <typename Field, std::size_t N>
Field FlightPlan::*find(const FieldKey<Field> (&table)[N], std::string_view key) {
  for (const auto& k : table) {
    if (k.key == key) return k.field;
  }
  return nullptr;
}

constexpr float kZeroCelsius = 273.15f;
constexpr std::size_t kNameLen = rd_fpl_2::name_len;

// "Polygon<point>X<zone>=<value>": one coordinate of a zone's polygon; its zone becomes the
// current one. A line whose indices fall outside the model changes nothing.
void read_polygon(FlightPlan& fpl, std::string_view line, long long& current_zone) {
  constexpr std::size_t prefix = kPolygonPrefix.size();
  const auto item = split_polygon_item(line.substr(std::min(prefix, line.size())));
  if (!item || !item->point) return;
  const long long zone = item->zone ? *item->zone : current_zone;
  auto& coord = fpl.wzp[item->coord];
  if (!coord.contains(*item->point) || !coord[0].contains(zone)) return;
  current_zone = zone;
  if (item->value) coord[*item->point][zone] = *item->value;
}

}  // namespace

bool read_weather_key(Console& con, FlightPlan& fpl, std::string_view key, std::string_view val,
                      std::string_view line, long long& current_zone) {
  if (key == "RandomizeWeatherOnEachFlight") {
    set_flag(fpl.randomizeweatheroneachflight, val);
  } else if (key == kWeatherZoneCount) {
    set_int(fpl.wzcount, val);
  } else if (key == "Pressure") {
    // Hectopascals in the plan, pascals in the model.
    if (const auto v = read_real(val); v && std::isfinite(*v * 100.0f)) fpl.pressure = *v * 100.0f;
  } else if (key.starts_with(kPolygonPrefix)) {
    read_polygon(fpl, line, current_zone);
  } else if (!PerZone<float>::contains(current_zone)) {
    // A zone the model has no room for: its keys are ignored, but they are weather keys.
    return key == "Name" || key == "ThermalsTemp" || key == "ThermalsInversionheight" ||
           find(zone_reals, key) != nullptr || find(zone_ints, key) != nullptr;
  } else if (key == "Name") {
    set_text(fpl.wznam[current_zone], val, kNameLen);
    con.trace(current_zone, fpl.wznam[current_zone]);
  } else if (key == "ThermalsTemp") {
    // Degrees Celsius in the plan, kelvin in the model.
    if (const auto v = read_real(val)) fpl.thermalstemp[current_zone] = *v + kZeroCelsius;
    con.trace("ThermalsTemp", current_zone, fpl.thermalstemp[current_zone]);
  } else if (key == "ThermalsInversionheight") {
    set_rounded(fpl.thermalsinversionheight[current_zone], val);
  } else if (const auto real = find(zone_reals, key)) {
    set_real((fpl.*real)[current_zone], val);
  } else if (const auto integer = find(zone_ints, key)) {
    set_int((fpl.*integer)[current_zone], val);
  } else {
    return false;
  }
  return true;
}

bool read_plane_key(FlightPlan& fpl, std::string_view key, std::string_view val) {
  if (const auto text = find(plane_texts, key)) {
    set_text(fpl.*text, val, kNameLen);
  } else if (const auto real = find(plane_reals, key)) {
    set_real(fpl.*real, val);
  } else if (key == "Seat") {
    set_int(fpl.glseat, val);
  } else if (key == "Bugwipers") {
    set_flag(fpl.qbugwipers, val);
  } else {
    return false;
  }
  return true;
}

bool read_option_key(Console& con, FlightPlan& fpl, std::string_view key, std::string_view val) {
  if (key == kTaskDateKey) {
    set_int(fpl.taskdate, val);
    // The day serial counts 1 January 1900 as day 2.
    const long long jdate = static_cast<long long>(fpl.taskdate) + jd(1900, 1, 1) - 2;
    if (jdate >= std::numeric_limits<std::int32_t>::min() &&
        jdate <= std::numeric_limits<std::int32_t>::max()) {
      fpl.jdate = static_cast<int>(jdate);
    }
    con.trace("DATE", fpl.taskdate, fpl.jdate);
  } else if (const auto real = find(option_reals, key)) {
    set_real(fpl.*real, val);
  } else if (const auto integer = find(option_ints, key)) {
    set_int(fpl.*integer, val);
  } else if (const auto flag = find(option_flags, key)) {
    set_flag(fpl.*flag, val);
  } else {
    return false;
  }
  return true;
}

}  // namespace brevanto
