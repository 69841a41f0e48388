#include "read_fpl_values.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace brevanto {
namespace {

TEST(Nint, HalvesAwayFromZeroWithin32Bits) {
  EXPECT_EQ(nint(499.5), 500);
  EXPECT_EQ(nint(-499.5), -500);
  EXPECT_EQ(nint(0.5), 1);
  EXPECT_EQ(nint(-0.5), -1);
  EXPECT_EQ(nint(2.4999), 2);
  EXPECT_EQ(nint(2147483647.4), 2147483647);
  EXPECT_EQ(nint(-2147483648.4), -2147483647 - 1);
  EXPECT_FALSE(nint(2147483647.5));
  EXPECT_FALSE(nint(-2147483648.5));
  EXPECT_FALSE(nint(1e30));
  EXPECT_FALSE(nint(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(nint(std::numeric_limits<double>::infinity()));
}

TEST(ReadIndex, TellsAnIndexOutOfRangeFromNoNumber) {
  EXPECT_EQ(read_index("5"), 5);
  EXPECT_EQ(read_index(" -1 "), -1);
  EXPECT_EQ(read_index("3,4"), 3);
  EXPECT_EQ(read_index("99999999999"), std::numeric_limits<long long>::max());
  EXPECT_EQ(read_index("-99999999999"), std::numeric_limits<long long>::min());
  EXPECT_EQ(read_index("+99999999999999999999999"), std::numeric_limits<long long>::max());
  EXPECT_FALSE(read_index(""));
  EXPECT_FALSE(read_index("x"));
  EXPECT_FALSE(read_index("-"));
  EXPECT_FALSE(read_index("1.0"));
  EXPECT_FALSE(read_index("12345678901x"));
}

TEST(SplitPolygonItem, PointCoordinateZoneAndValue) {
  auto item = split_polygon_item("2Y5=1234.5");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->coord, 2);
  EXPECT_EQ(item->point, 2);
  EXPECT_EQ(item->zone, 5);
  EXPECT_EQ(item->value, 1234.5f);

  // The first "X" wins over an earlier "Y"; a missing part stays empty.
  item = split_polygon_item("Y3X=x");
  ASSERT_TRUE(item);
  EXPECT_EQ(item->coord, 1);
  EXPECT_FALSE(item->point);
  EXPECT_FALSE(item->zone);
  EXPECT_FALSE(item->value);

  EXPECT_FALSE(split_polygon_item("25=7"));  // neither X nor Y
  EXPECT_FALSE(split_polygon_item("1=X2"));  // no "=" after the X
  EXPECT_FALSE(split_polygon_item("1X2"));   // no "=" at all
  // Only the first 80 characters count.
  EXPECT_FALSE(split_polygon_item(std::string(80, ' ') + "1X2=3"));
}

TEST(Setters, LeaveTheFieldWhenTheValueDoesNotConvert) {
  int i = 7;
  float f = 7;
  set_int(i, "1.5");
  set_real(f, "abc");
  EXPECT_EQ(i, 7);
  EXPECT_EQ(f, 7);
  set_rounded(i, "3e9");
  set_rounded(f, "-3e9");
  EXPECT_EQ(i, 7);
  EXPECT_EQ(f, 7);
  set_rounded(i, "-2.5");
  set_rounded(f, "2.5");
  EXPECT_EQ(i, -3);
  EXPECT_EQ(f, 3);
  EXPECT_FLOAT_EQ(std::round(radians_to_degrees(1.5708f)), 90);
}

}  // namespace
}  // namespace brevanto
