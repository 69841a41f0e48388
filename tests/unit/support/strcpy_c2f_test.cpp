#include "strcpy_c2f.hpp"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

TEST(StrcpyC2f, CopiesUpToTheNulTheCountOrTheFieldWidth) {
  std::string out = "old";
  int ls = 0;  // 0: the whole field
  strcpy_c2f(std::string(300, 'a'), out, ls, 256);
  EXPECT_EQ(ls, 256);
  EXPECT_EQ(out, std::string(256, 'a'));

  ls = 5;
  strcpy_c2f("abcdefgh", out, ls, 256);
  EXPECT_EQ(ls, 5);
  EXPECT_EQ(out, "abcde");

  ls = 25;  // a registry length that counts the NUL
  strcpy_c2f(std::string("C:\\Sim\0junk", 11), out, ls, 256);
  EXPECT_EQ(ls, 6);
  EXPECT_EQ(out, "C:\\Sim");

  ls = 0;
  strcpy_c2f("", out, ls, 256);
  EXPECT_EQ(ls, 0);
  EXPECT_EQ(out, "");

  ls = -3;
  strcpy_c2f("abc", out, ls, 256);
  EXPECT_EQ(ls, 0);
  EXPECT_EQ(out, "");
}

TEST(StrcpyC2f, TrailingBlanksCountButAreNotContent) {
  std::string out;
  int ls = 0;
  strcpy_c2f("Ann  ", out, ls, 40);
  EXPECT_EQ(ls, 5);
  EXPECT_EQ(out, "Ann");
}

TEST(StrcpyF2c, GivesTheContentAndOneNul) {
  std::string out;
  int ls = -1;
  strcpy_f2c("C:\\Sim3   ", out, ls);
  EXPECT_EQ(ls, 7);
  EXPECT_EQ(out, std::string("C:\\Sim3\0", 8));
  strcpy_f2c("    ", out, ls);
  EXPECT_EQ(ls, 0);
  EXPECT_EQ(out, std::string(1, '\0'));
}

}  // namespace
}  // namespace brevanto
