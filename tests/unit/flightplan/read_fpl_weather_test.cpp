#include "read_fpl_weather.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "read_fpl_fixture.hpp"

namespace brevanto::fixtures {
namespace {

using ::testing::HasSubstr;

std::string plan(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines)
    text += l + "\r\n";
  return text;
}

TEST_F(ReadFplTest, WeatherConversions) {
  read(plan({"Soarix version=3000", "[WeatherZone1]", "ThermalsTemp=20", "ThermalsDew=12",
             "ThermalsInversionheight=1499.5", "Pressure=1013"}));
  EXPECT_FLOAT_EQ(fpl.thermalstemp[1], 293.15f);
  EXPECT_THAT(out, HasSubstr(" ThermalsTemp 1 293.15\n"));
  EXPECT_FLOAT_EQ(fpl.thermalsdew[1], 12);
  EXPECT_FLOAT_EQ(fpl.thermalsinversionheight[1], 1500);
  EXPECT_FLOAT_EQ(fpl.pressure, 101300);

  read(plan({"[Weather]", "WindSpeed=3"}));
  EXPECT_FLOAT_EQ(fpl.pressure, 101325);  // none given
}

TEST_F(ReadFplTest, TaskDateGivesTheJulianDay) {
  read(plan({"TaskDate=2"}));
  EXPECT_EQ(fpl.taskdate, 2);
  EXPECT_EQ(fpl.jdate, 2415021);  // 1 January 1900
  EXPECT_THAT(out, HasSubstr(" DATE 2 2415021\n"));

  // A date that does not convert: the day number follows the date kept from before.
  read(plan({"TaskDate=today"}));
  EXPECT_EQ(fpl.jdate, 2415021);
  // A day serial so large that its day number does not fit: the day number is kept.
  read(plan({"TaskDate=2147483000"}));
  EXPECT_EQ(fpl.taskdate, 2147483000);
  EXPECT_EQ(fpl.jdate, 2415021);
}

TEST_F(ReadFplTest, YesNoOptions) {
  read(plan({"AllowPDA=Yes", "AllowSmoke=1", "AllowBugwipers=True", "AllowExternalView=y", "AAT=no",
             "AllowPadlockView="}));
  EXPECT_TRUE(fpl.allowpda);
  EXPECT_TRUE(fpl.allowsmoke);
  EXPECT_FALSE(fpl.allowbugwipers);
  EXPECT_TRUE(fpl.allowexternalview);
  EXPECT_FALSE(fpl.qaat);
  EXPECT_FALSE(fpl.allowpadlockview);
}

TEST_F(ReadFplTest, KeysBelongToTheirSections) {
  // "Name" names the zone in a weather section and the glider in [Plane]; elsewhere nothing.
  read(plan({"[Task]", "Name=Nobody", "WindSpeed=9", "Seat=2", "[Weather]", "Name=Zone zero",
             "Seat=3", "StartTime=11.5", "[Plane]", "Name=Std Glider", "WindSpeed=8", "MaxTeams=4",
             "windspeed=7", "maxteams=5", "NAME=x"}));
  EXPECT_EQ(fpl.wznam[0], "Zone zero");
  EXPECT_EQ(fpl.glnam, "Std Glider");
  EXPECT_FLOAT_EQ(fpl.windspeed[0], 0);
  EXPECT_EQ(fpl.glseat, 1);
  EXPECT_FLOAT_EQ(fpl.starttime, 11.5f);  // options count in any section
  EXPECT_EQ(fpl.maxteams, 4);             // keys are case-sensitive
  EXPECT_THAT(out, HasSubstr(" 0 Zone zero\n"));

  // Texts are cut at 32 characters.
  read(plan({"[Plane]", "Class=" + std::string(40, 'c'), "Skin=" + std::string(40, 's')}));
  EXPECT_EQ(fpl.glclass, std::string(32, 'c'));
  EXPECT_EQ(fpl.glskin, std::string(32, 's'));
}

TEST_F(ReadFplTest, Version2WeatherIsZoneZero) {
  read(plan({"Soarix version=2000", "[WeatherZone3]", "WindSpeed=1", "[Weather]", "WindSpeed=5",
             "Name=Mine", "PointCount=4", "WZCount=6"}));
  EXPECT_FLOAT_EQ(fpl.windspeed[3], 1);
  EXPECT_FLOAT_EQ(fpl.windspeed[0], 5);
  EXPECT_EQ(fpl.wznam[0], "Base");
  EXPECT_EQ(fpl.pointcount[0], 0);
  EXPECT_EQ(fpl.wzcount, 1);
  EXPECT_THAT(out, HasSubstr(" qweather T 0\n"));

  // In version 3 "[Weather]" keeps the current zone.
  read(plan({"Soarix version=3000", "[WeatherZone3]", "[Weather]", "WindSpeed=5", "WZCount=6"}));
  EXPECT_FLOAT_EQ(fpl.windspeed[3], 5);
  EXPECT_EQ(fpl.wzcount, 6);
}

TEST_F(ReadFplTest, WeatherZonesAndPolygons) {
  read(plan({"Soarix version=3000", "[WeatherZone16]", "Name=Last", "WindSpeed=16",
             "Polygon16X16=5", "Polygon3X2=15000", "WindDir=90", "Polygon2Y2=-7.5"}));
  EXPECT_EQ(fpl.wznam[16], "Last");
  EXPECT_FLOAT_EQ(fpl.windspeed[16], 16);
  EXPECT_FLOAT_EQ(fpl.wzp[1][16][16], 5);
  EXPECT_FLOAT_EQ(fpl.wzp[1][3][2], 15000);
  EXPECT_FLOAT_EQ(fpl.winddir[2], 90);  // the polygon line made zone 2 the current one
  EXPECT_FLOAT_EQ(fpl.wzp[2][2][2], -7.5f);
  EXPECT_THAT(out, HasSubstr(" [WeatherZone16] 15 16 16 0\n qweather T 16\n"));
}

TEST_F(ReadFplTest, WeatherIndicesOutsideTheModelAreIgnored) {
  const std::vector<std::string> zone16 = {"Soarix version=3000", "[WeatherZone16]", "Name=Last",
                                           "WindSpeed=16", "ThermalsTemp=10"};
  read(plan(zone16));
  const FlightPlan expected = fpl;

  // A zone the model has no room for: its keys write nothing, zone 16 keeps its values.
  std::vector<std::string> lines = zone16;
  for (const char* header :
       {"[WeatherZone17]", "[WeatherZone-1]", "[WeatherZone99999999999]", "[WeatherZone8193]"}) {
    lines.insert(lines.end(), {header, "Name=Outside", "WindSpeed=99", "ThermalsTemp=30",
                               "ThermalsInversionheight=5", "PointCount=3", "Polygon1X17=1"});
  }
  lines.insert(lines.end(), {"[WeatherZone16]", "Polygon17X2=5", "Polygon3X17=5", "Polygon-1X2=5",
                             "Polygon3X99999999999=5", "Polygon3=5", "Polygonx=5"});
  read(plan(lines));
  EXPECT_TRUE(fpl == expected);

  // A header without a readable number keeps the current zone.
  read(plan({"Soarix version=3000", "[WeatherZone4]", "[WeatherZone]", "WindSpeed=4",
             "[WeatherZonex]", "WindDir=40"}));
  EXPECT_FLOAT_EQ(fpl.windspeed[4], 4);
  EXPECT_FLOAT_EQ(fpl.winddir[4], 40);
}

}  // namespace
}  // namespace brevanto::fixtures
