// Case, integers as text and calendar dates.
#include <gtest/gtest.h>

#include "MajMin.hpp"
#include "dates.hpp"
#include "to_char.hpp"

namespace brevanto {
namespace {

TEST(Majusc, FoldsOnlyAsciiLetters) {
  std::string s =
      "abc D\xE9"
      "f";
  majusc(s);
  EXPECT_EQ(s,
            "ABC D\xE9"
            "F");
}

TEST(CaseBlindCompare, IgnoresCaseAndTrailingBlanksOnly) {
  EXPECT_TRUE(case_blind_compare("today", "TODAY"));
  EXPECT_TRUE(case_blind_compare("today", "today "));
  EXPECT_FALSE(case_blind_compare(" today", "today"));
  EXPECT_TRUE(case_blind_compare("", "   "));
  EXPECT_FALSE(case_blind_compare("\xE9", "\xC9"));  // accents are never folded
  EXPECT_FALSE(case_blind_compare("toda", "today"));
}

TEST(I2b, LeftJustifiedWithAsterisksWhenTooWide) {
  EXPECT_EQ(i2b(-42), "-42");
  EXPECT_EQ(i2b(123456, 4), "****");
  EXPECT_EQ(i2b(123456, 40), "123456");
  EXPECT_EQ(i2b(-2147483647 - 1), "-2147483648");
}

TEST(Dates, JulianDayNumbers) {
  EXPECT_EQ(jd(2000, 1, 1), 2451545);
  EXPECT_EQ(jd(1900, 1, 1), 2415021);
  EXPECT_EQ(jd(1899, 12, 30), 2415019);
  EXPECT_EQ(jd(2000, 3, 1) - jd(2000, 2, 28), 2);  // 2000 is a leap year
  EXPECT_EQ(jd(1900, 3, 1) - jd(1900, 2, 28), 1);  // 1900 is not
}

TEST(Dates, GdateInvertsJdOverTheWholeRange) {
  int y = 0, m = 0, d = 0;
  gdate(2451545, y, m, d);
  EXPECT_EQ(y, 2000);
  EXPECT_EQ(m, 1);
  EXPECT_EQ(d, 1);
  for (int n = jd(1, 1, 1); n <= jd(2999, 12, 31); n += 97) {
    gdate(n, y, m, d);
    ASSERT_EQ(jd(y, m, d), n) << y << "-" << m << "-" << d;
  }
}

}  // namespace
}  // namespace brevanto
