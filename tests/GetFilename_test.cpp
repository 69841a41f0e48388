#include "GetFilename.hpp"

#include <gtest/gtest.h>

#include "scoped_env.hpp"

namespace brevanto {
namespace {

using Patterns = std::vector<std::string>;

TEST(SplitFilter, CommasSeparatePatternsLeftToRight) {
  EXPECT_EQ(split_filter("*.fpl"), Patterns{"*.fpl"});
  EXPECT_EQ(split_filter("*.fpl,*.txt"), (Patterns{"*.fpl", "*.txt"}));
  EXPECT_EQ(split_filter("*.fpl,"), Patterns{"*.fpl"});  // the empty rest ends the split
  EXPECT_EQ(split_filter(""), Patterns{});
  // A comma in first place of the rest makes the whole rest the last pattern.
  EXPECT_EQ(split_filter(",*.fpl"), Patterns{",*.fpl"});
  EXPECT_EQ(split_filter("*.fpl,,*.txt,*.dat"), (Patterns{"*.fpl", ",*.txt,*.dat"}));
}

TEST(SplitFilter, AtMostTenPatternsOfThirtyOneCharacters) {
  EXPECT_EQ(split_filter("a,b,c,d,e,f,g,h,i,j,k,l"),
            (Patterns{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
  const std::string forty = "*." + std::string(38, 'x');
  EXPECT_EQ(split_filter(forty + ",*.fpl"), (Patterns{forty.substr(0, 31), "*.fpl"}));
}

TEST(SplitFilter, FilterIsCutAtSixtyThreeCharacters) {
  // 12 patterns of 6 characters: the 63rd character falls inside the 11th pattern.
  std::string filter;
  for (char c = 'a'; c < 'a' + 12; ++c)
    filter += std::string("*.") + c + c + c + ',';
  const Patterns patterns = split_filter(filter);
  ASSERT_EQ(patterns.size(), 10u);
  EXPECT_EQ(patterns.back(), "*.jjj");
  // A single long pattern: cut at 63, then at 31.
  EXPECT_EQ(split_filter(std::string(70, 'p')), Patterns{std::string(31, 'p')});
  EXPECT_EQ(split_filter(std::string(62, 'x') + ",*.fpl"), Patterns{std::string(31, 'x')});
}

// Without a display every file dialog answers as cancelled.
class HeadlessDialogs : public ::testing::Test {
 protected:
  testing::ScopedEnv display_{"DISPLAY", std::nullopt};
  testing::ScopedEnv wayland_{"WAYLAND_DISPLAY", std::nullopt};
};

TEST_F(HeadlessDialogs, CancelledFileDialogReturnsZeroAndLeavesTheBuffer) {
  std::string out;
  Console con(out);
  std::string file = "previous";
  int len = 99;
  EXPECT_EQ(
      GetFileName(con, file, "Brevanto : Select rules file", "/tmp/plans/", "*.fpl", "", 0, len),
      0);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(file, "previous");
  EXPECT_EQ(out, "GetFileName *.fpl 5\nGetFileName /tmp/plans/ 11\n");
}

TEST_F(HeadlessDialogs, TraceShowsTheFilterAsUsed) {
  std::string out;
  Console con(out);
  std::string file;
  int len = 0;
  GetFileName(con, file, "t", "", std::string(70, 'f'), "", 1, len);
  EXPECT_EQ(out, "GetFileName " + std::string(63, 'f') + " 63\nGetFileName  0\n");
}

TEST_F(HeadlessDialogs, CancelledFolderAndInputDialogs) {
  std::string out;
  Console con(out);
  std::string folder = "kept";
  int len = 5;
  EXPECT_EQ(GetFolder(con, "Pick", "/tmp/", len, folder), 1);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(folder, "kept");
  std::string answer = "kept";
  len = 5;
  EXPECT_EQ(GetString(con, "Name", "Your name?", "Jo", answer, len), 0);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(answer, "kept");
  std::string file;
  EXPECT_EQ(SaveFileName(con, file, "Save", "/tmp/x.fpl", "*.fpl", "", len), 0);
  EXPECT_EQ(out, "SaveFileName *.fpl 5\nSaveFileName /tmp/x.fpl 10\n");
}

}  // namespace
}  // namespace brevanto
