#include "fixed_text.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "console.hpp"
#include "fortran_format.hpp"

namespace brevanto {
namespace {

TEST(FixedText, FitCutsAtWidthAndDropsTrailingBlanks) {
  EXPECT_EQ(fit("abc   ", 80), "abc");
  EXPECT_EQ(fit("abcdef", 3), "abc");
  EXPECT_EQ(fit("ab  cd", 3), "ab");
  EXPECT_EQ(fit("  ab", 80), "  ab");  // leading blanks are content
  EXPECT_EQ(fit("", 5), "");
}

TEST(FixedText, PaddedComparisonTreatsMissingTailAsBlanks) {
  EXPECT_TRUE(padded_equal("abc", "abc   "));
  EXPECT_FALSE(padded_equal(" abc", "abc"));
  EXPECT_EQ(padded_compare("abc", "abc "), 0);
  EXPECT_LT(padded_compare("abc", "abd"), 0);
  // A tab sorts before the blank that pads the shorter text.
  EXPECT_GT(padded_compare("abc", "abc\t"), 0);
  // Bytes compare unsigned: an accented letter sorts after every ASCII letter.
  EXPECT_LT(padded_compare("z", "\xE9"), 0);
}

TEST(FixedText, EscapeSlashesMarksEverySlash) {
  EXPECT_EQ(escape_slashes("/home/ann/task.fpl"), "\\/home\\/ann\\/task.fpl");
  EXPECT_EQ(escape_slashes("C:\\Data\\task.fpl"), "C:\\Data\\task.fpl");
}

TEST(FortranFormat, IntegerFieldsOverflowToAsterisks) {
  EXPECT_EQ(fmt_i(7, 2), " 7");
  EXPECT_EQ(fmt_i(12, 2), "12");
  EXPECT_EQ(fmt_i(100, 2), "**");
  EXPECT_EQ(fmt_i(-5, 2), "-5");
  EXPECT_EQ(fmt_i(-10, 2), "**");
}

TEST(FortranFormat, FixedRealFields) {
  EXPECT_EQ(fmt_f(1812.0, 12, 1), "      1812.0");
  EXPECT_EQ(fmt_f(-3.25, 6, 1), "  -3.2");
  EXPECT_EQ(fmt_f(1e20, 12, 1), "************");
  // A wide field takes a long number whole (594 characters); a negative width is an empty field.
  EXPECT_EQ(fmt_f(1e22, 600, 570), "      1" + std::string(22, '0') + "." + std::string(570, '0'));
  EXPECT_EQ(fmt_f(1.5, -3, 1), "");
  EXPECT_EQ(fmt_i(7, -1), "");
}

TEST(FortranFormat, TraceLinesStartWithOneBlank) {
  std::string out;
  Console con(out);
  con.trace("Nvers ", 0, 1810);
  con.trace("npopup,qverb,qoklines", 1, true, false);
  con.trace("a", "b");
  con.trace(3, "x");
  con.trace(2075.0f, -0.5, 1e20f, std::numeric_limits<long long>::min());
  con.trace();
  EXPECT_EQ(out,
            " Nvers  0 1810\n npopup,qverb,qoklines 1 T F\n ab\n 3 x\n"
            " 2075.0 -0.5 1e+20 -9223372036854775808\n \n");
  // A line longer than the console's buffer arrives whole.
  out.clear();
  const std::string long_text(200000, 'v');
  con.trace(7, long_text);
  EXPECT_EQ(out, " 7 " + long_text + "\n");
}

}  // namespace
}  // namespace brevanto
