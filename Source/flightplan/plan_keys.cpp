#include "plan_keys.hpp"

#include <algorithm>
#include <iterator>

#include "fixed_text.hpp"

namespace brevanto {

namespace {

template <typename Table>
bool holds(const Table& table, std::string_view key) {
  return std::any_of(std::begin(table), std::end(table),
                     [key](const auto& entry) { return entry.key == key; });
}

bool among(std::initializer_list<std::string_view> names, std::string_view key) {
  return std::find(names.begin(), names.end(), key) != names.end();
}

template <typename Table>
void add_fields(std::vector<PlanKey>& keys, const Table& table, unsigned sections) {
  for (const auto& entry : table)
    keys.push_back(PlanKey{entry.key, false, sections});
}

}  // namespace

bool is_weather_plane_or_option_key(std::string_view key) {
  return key.starts_with(kPolygonPrefix) ||
         std::find(std::begin(kWeatherKeys), std::end(kWeatherKeys), key) !=
             std::end(kWeatherKeys) ||
         std::find(std::begin(kPlaneKeys), std::end(kPlaneKeys), key) != std::end(kPlaneKeys) ||
         key == kTaskDateKey || holds(zone_reals, key) || holds(zone_ints, key) ||
         holds(plane_texts, key) || holds(plane_reals, key) || holds(option_reals, key) ||
         holds(option_ints, key) || holds(option_flags, key);
}

bool is_flight_plan_line(std::string_view line, std::string_view key) {
  const std::string_view header = trim_right(line);
  if (header.starts_with(kWeatherZoneHeader) ||
      among({"[Version]", "[Task]", "[Weather]", kPlaneHeader, "[GameOptions]", "[Description]"},
            header)) {
    return true;
  }
  key = trim_right(key);
  const auto begins = [key](std::string_view prefix) { return key.starts_with(prefix); };
  return among({kVersionKey, kLandscapeKey, kTurnpointCount, kPenaltyZoneCount, kDescriptionKey,
                kDisabledAirspacesKey},
               key) ||
         begins(kTurnpointName) || begins(kPenaltyZoneCornerPrefix) ||
         std::any_of(std::begin(turnpoint_keys), std::end(turnpoint_keys),
                     [&](const TurnpointKey& k) { return begins(k.prefix); }) ||
         std::any_of(std::begin(penalty_zone_keys), std::end(penalty_zone_keys),
                     [&](const PenaltyZoneKey& k) { return begins(k.prefix); }) ||
         is_weather_plane_or_option_key(key);
}

namespace {

// The keys, built once.
std::vector<PlanKey> every_plan_key() {
  std::vector<PlanKey> keys = {
      {kVersionKey, false, in_version},        {kLandscapeKey, false, in_task},
      {kTurnpointCount, false, in_task},       {kTurnpointName, true, in_task, true},
      {kPenaltyZoneCount, false, in_task},     {kPenaltyZoneCornerPrefix, true, in_task},
      {kDisabledAirspacesKey, false, in_task}, {kDescriptionKey, false, in_description},
      {kPolygonPrefix, true, in_weather},
  };
  for (const TurnpointKey& k : turnpoint_keys)
    keys.push_back(PlanKey{k.prefix, true, in_task, true});
  for (const PenaltyZoneKey& k : penalty_zone_keys)
    keys.push_back(PlanKey{k.prefix, true, in_task});
  for (const std::string_view name : kWeatherKeys)
    keys.push_back(PlanKey{name, false, in_weather});
  add_fields(keys, zone_reals, in_weather);
  add_fields(keys, zone_ints, in_weather);
  for (const std::string_view name : kPlaneKeys)
    keys.push_back(PlanKey{name, false, in_plane});
  add_fields(keys, plane_texts, in_plane);
  add_fields(keys, plane_reals, in_plane);
  // The options are valid in any section; plans hold them in [Task].
  keys.push_back(PlanKey{kTaskDateKey, false, in_task});
  add_fields(keys, option_reals, in_task);
  add_fields(keys, option_ints, in_task);
  add_fields(keys, option_flags, in_task);
  for (const std::string_view name : kOtherPlanKeys)
    keys.push_back(PlanKey{name, false, in_task});
  // "Name" stands in both tables: one entry, with both its sections.
  std::vector<PlanKey> merged;
  for (const PlanKey& k : keys) {
    const auto same = std::find_if(merged.begin(), merged.end(),
                                   [&k](const PlanKey& m) { return m.name == k.name; });
    if (same == merged.end()) {
      merged.push_back(k);
    } else {
      same->sections |= k.sections;
    }
  }
  return merged;
}

}  // namespace

const std::vector<PlanKey>& flight_plan_keys() {
  static const std::vector<PlanKey> keys = every_plan_key();
  return keys;
}

std::optional<PlanKey> plan_key_of(std::string_view key) {
  for (const PlanKey& k : flight_plan_keys()) {
    if (!k.numbered) {
      if (key == k.name) return k;
      continue;
    }
    // A family's number: digits, and for a point of a zone, a coordinate and the zone's digits.
    if (!key.starts_with(k.name)) continue;
    const std::string_view number = key.substr(k.name.size());
    const std::size_t digits = number.find_first_not_of("0123456789");
    if (digits == 0) continue;
    if (digits == std::string_view::npos) return k;
    const std::string_view zone = number.substr(digits + 1);
    if (!k.per_turnpoint && number[digits] >= 'X' && number[digits] <= 'Z' && !zone.empty() &&
        zone.find_first_not_of("0123456789") == std::string_view::npos) {
      return k;
    }
  }
  return std::nullopt;
}

}  // namespace brevanto
