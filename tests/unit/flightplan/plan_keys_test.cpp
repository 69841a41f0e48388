// The vocabulary of flight-plan lines: which lines make a file a flight plan, and where the keys
// a plan may hold stand.
#include "plan_keys.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace brevanto {
namespace {

TEST(PlanKeys, LinesOfTheFlightPlanFormat) {
  struct Case {
    const char* line;
    const char* key;
    bool plan;
  };
  const Case cases[] = {
      {"[Task]", "[Task]", true},
      {"[WeatherZone12]", "[WeatherZone12]", true},
      {"[GameOptions]  ", "[GameOptions]", true},
      {"[task]", "[task]", false},
      {"Landscape=Alps", "Landscape", true},
      {"TPRadius12=500", "TPRadius12", true},
      {"PZTop3=1000", "PZTop3", true},
      {"Polygon2X1=5", "Polygon2X1", true},
      {"AllowPDA=0", "AllowPDA", true},
      {"ThermalsStrength=3", "ThermalsStrength", true},
      {"From: pilot", "From", false},
      {"Subject: Day 2", "Subject", false},
      {"# Day 2", "# Day 2", false},
      {"", "", false},
      {"TaskName=Day 2", "TaskName", false},  // carried by plans, but no reader's key
  };
  for (const Case& c : cases)
    EXPECT_EQ(is_flight_plan_line(c.line, c.key), c.plan) << c.line;
}

TEST(PlanKeys, EveryKeyOnceWithItsSections) {
  const std::vector<PlanKey> keys = flight_plan_keys();
  const auto find = [&keys](std::string_view name) {
    const auto k =
        std::find_if(keys.begin(), keys.end(), [name](const PlanKey& p) { return p.name == name; });
    return k == keys.end() ? PlanKey{} : *k;
  };
  for (const PlanKey& k : keys)
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(),
                            [&k](const PlanKey& p) { return p.name == k.name; }),
              1)
        << k.name;
  EXPECT_EQ(find("Name").sections, unsigned{in_weather | in_plane});
  EXPECT_EQ(find("TPRadius").sections, unsigned{in_task});
  EXPECT_TRUE(find("TPRadius").numbered);
  EXPECT_FALSE(find("WindSpeed").numbered);
  EXPECT_EQ(find("Soarix version").sections, unsigned{in_version});
  EXPECT_EQ(find("PenaltyLostKnuckle").sections, unsigned{in_task});
  EXPECT_EQ(find("MaxWindSpeed").sections, 0u);  // no plan has it
}

}  // namespace
}  // namespace brevanto
