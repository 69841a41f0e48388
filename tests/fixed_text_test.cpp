#include "fixed_text.hpp"

#include <gtest/gtest.h>

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
  EXPECT_EQ(trace_line("Nvers ", 0, 1810), " Nvers  0 1810");
  EXPECT_EQ(trace_line("npopup,qverb,qoklines", 1, true, false), " npopup,qverb,qoklines 1 T F");
  EXPECT_EQ(trace_line("a", "b"), " ab");
  EXPECT_EQ(trace_line(3, "x"), " 3 x");
  EXPECT_EQ(trace_line(2075.0f), " 2075.0");
  EXPECT_EQ(trace_line(0.5f), " 0.5");
  EXPECT_EQ(trace_line(), " ");
}

}  // namespace
}  // namespace brevanto
