#include "value_primitives.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform.hpp"

namespace brevanto {
namespace {

TypedValue typed(std::string_view val) {
  std::string out;
  Console con(out);
  return get_val_type(con, val);
}

TEST(GetValType, IntegersRealsAndTexts) {
  TypedValue t = typed("12");
  EXPECT_EQ(t.typ, 'I');
  EXPECT_EQ(t.ival, 12);
  EXPECT_EQ(t.fval, 12.0f);
  EXPECT_EQ(typed("-3").ival, -3);
  EXPECT_EQ(typed("1,5").typ, 'I');  // free form: the first item only
  EXPECT_EQ(typed("1,5").ival, 1);
  EXPECT_EQ(typed("5 km").ival, 5);

  t = typed("2.5");
  EXPECT_EQ(t.typ, 'R');
  EXPECT_EQ(t.fval, 2.5f);
  EXPECT_EQ(typed(".5").fval, 0.5f);
  EXPECT_EQ(typed("5.").fval, 5.0f);
  EXPECT_EQ(typed("1.5E3").fval, 1500.0f);

  for (std::string_view text : {"abc", "", "   ", "a.b", "12:30", "1e5", " today", "todays"}) {
    EXPECT_EQ(typed(text).typ, 'C') << text;
  }
}

TEST(GetValType, NumbersOutOfRangeAreTexts) {
  EXPECT_EQ(typed("99999999999").typ, 'C');
  EXPECT_EQ(typed("2147483647").typ, 'I');
  EXPECT_EQ(typed("-2147483648").ival, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(typed("1e40").typ, 'C');  // no "." and not an integer
  EXPECT_EQ(typed("1.0e40").typ, 'C');
  EXPECT_EQ(typed("1.0e38").typ, 'R');
}

TEST(GetValType, TodayIsTheLocalDaySerialOnAConsoleLine) {
  EXPECT_EQ(day_serial(2000, 1, 1), 36526);
  EXPECT_EQ(day_serial(1899, 12, 30), 0);
  EXPECT_EQ(day_serial(1900, 1, 1), 2);

  const platform::LocalTime now = platform::local_time();
  const std::int32_t expected = day_serial(now.year, now.month, now.day);
  for (std::string_view text : {"today", "TODAY", "Today", "today   "}) {
    std::string out;
    Console con(out);
    const TypedValue t = get_val_type(con, text);
    EXPECT_EQ(t.typ, 'I') << text;
    EXPECT_EQ(t.ival, expected) << text;
    EXPECT_EQ(t.fval, static_cast<float>(expected)) << text;
    EXPECT_EQ(out, " " + std::to_string(expected) + "\n");
  }
}

TEST(FltEq, RelativeToTheReference) {
  std::string out;
  Console con(out);
  EXPECT_TRUE(flt_eq(con, 100.5f, 100.0f, 0.01f));
  EXPECT_FALSE(flt_eq(con, 102.0f, 100.0f, 0.01f));
  EXPECT_FALSE(flt_eq(con, 100.0f, 0.001f, 0.01f));
  EXPECT_TRUE(flt_eq(con, 12.00001f, 12.0f, 1.0e-6f));
  EXPECT_FALSE(flt_eq(con, 12.0001f, 12.0f, 1.0e-6f));
  // A relative difference equal to the tolerance still counts as equal (one unit in the last
  // place).
  EXPECT_TRUE(flt_eq(con, 1.0f + 0x1p-23f, 1.0f, 0x1p-23f));
  EXPECT_FALSE(flt_eq(con, 1.0f + 0x1p-22f, 1.0f, 0x1p-23f));
  EXPECT_TRUE(flt_eq(con, -100.5f, -100.0f, 0.01f));  // negative reference
}

TEST(FltEq, ZeroReferenceIsExactAndWritesNothing) {
  std::string out;
  Console con(out);
  EXPECT_TRUE(flt_eq(con, 0.0f, 0.0f, 1.0e-6f));
  EXPECT_FALSE(flt_eq(con, 0.001f, 0.0f, 1.0e6f));
  EXPECT_EQ(out, "");
  EXPECT_TRUE(flt_eq(con, 4.0f, 2.0f, 1.0f));
  EXPECT_EQ(out, " 4.0 2.0 2.0 1.0\n");
}

TEST(FltEq, NaNIsNeverEqual) {
  std::string out;
  Console con(out);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(flt_eq(con, nan, 1.0f, 1.0e6f));
  EXPECT_FALSE(flt_eq(con, 1.0f, nan, 1.0e6f));
  EXPECT_FALSE(flt_eq(con, 1.0f, 1.0f, nan));
  EXPECT_FALSE(flt_eq(con, nan, 0.0f, 1.0e6f));
}

bool wc(std::string_view key00, std::string_view key, int ntpcur = 0, int nb_wp = 6,
        std::string* out = nullptr) {
  std::string sink;
  Console con(out != nullptr ? *out : sink);
  return wildcardcompare(con, key00, key, ntpcur, nb_wp);
}

TEST(WildcardCompare, ExactKeysAndStar) {
  EXPECT_TRUE(wc("TPName1", "TPName1"));
  EXPECT_TRUE(wc("TPName1   ", "TPName1"));
  EXPECT_FALSE(wc("tpname1", "TPName1"));
  EXPECT_FALSE(wc("TPName1", "TPName10"));
  EXPECT_TRUE(wc("Abc*", "Abc"));
  EXPECT_TRUE(wc("Abc*", "AbcDef"));
  EXPECT_FALSE(wc("Abc*", "Ab"));
  EXPECT_FALSE(wc("Abc*", "abcd"));
  EXPECT_TRUE(wc("*", "anything"));
  EXPECT_TRUE(wc("*", ""));
  EXPECT_TRUE(wc("Abc*", "Abc", -1));  // "*" ignores the turnpoint
}

TEST(WildcardCompare, TurnpointSelectorsFollowTheTaskSize) {
  // nb_wp 6: 0 take-off, 1 start, 2..4 turnpoints, 5 finish.
  std::string picked_dollar, picked_question, picked_percent;
  for (int n = 0; n <= 6; ++n) {
    const std::string key = "TPName" + std::to_string(n);
    if (wc("TPName$", key)) picked_dollar += std::to_string(n);
    if (wc("TPName?", key)) picked_question += std::to_string(n);
    if (wc("TPName%", key)) picked_percent += std::to_string(n);
  }
  EXPECT_EQ(picked_dollar, "234");
  EXPECT_EQ(picked_question, "23");
  EXPECT_EQ(picked_percent, "4");
  EXPECT_TRUE(wc("TPHeight$", "TPHeight12", 3, 14));
  EXPECT_FALSE(wc("TPName$", "TPName"));
  EXPECT_FALSE(wc("TPName$", "TPNameX"));
  EXPECT_FALSE(wc("TPName$", "TPHeight3"));
  EXPECT_FALSE(wc("TPName$", "TPName3", -1));    // outside the turnpoint list
  EXPECT_FALSE(wc("TPName%", "TPName1", 0, 3));  // the start is never selected
}

TEST(WildcardCompare, MisplacedOrDoubledWildcardsSelectNothing) {
  for (std::string_view key00 : {"TP*Name", "Abc**", "TPName$$", "TP?Name", "%Count"}) {
    std::string out;
    EXPECT_FALSE(wc(key00, std::string(key00), 0, 6, &out)) << key00;
    EXPECT_EQ(out, " incorrect wildcard " + std::string(key00) + "\n");
  }
  std::string out;
  EXPECT_FALSE(wc("TP*Name  ", "TPxName", 0, 6, &out));
  EXPECT_EQ(out, " incorrect wildcard TP*Name\n");
}

TEST(GetCloudBase, SpreadCappedByInversionAboveTakeOff) {
  FlightPlan fpl;
  fpl.thermalstemp[0] = 25.0f + 273.15f;
  fpl.thermalsdew[0] = 10.0f;
  fpl.thermalsinversionheight[0] = 3000.0f;
  fpl.tpz[0] = 200.0f;
  fpl.thermalstemp[1] = 60.0f + 273.15f;  // other zones do not count
  std::string out;
  Console con(out);
  EXPECT_NEAR(get_cloud_base(con, fpl), 2075.0f, 0.01f);
  EXPECT_TRUE(out.starts_with(" 200.0 298.15 10.0 3000.0 2075")) << out;

  fpl.thermalsdew[0] = -5.0f;
  EXPECT_FLOAT_EQ(get_cloud_base(con, fpl), 3200.0f);

  fpl.thermalstemp[0] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FLOAT_EQ(get_cloud_base(con, fpl), 3200.0f);  // no spread: the inversion
}

}  // namespace
}  // namespace brevanto
