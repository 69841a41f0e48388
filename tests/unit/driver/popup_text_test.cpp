// The room of the popups: a plan's list of violations and the summary of a run.
#include "popup_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "fixed_text.hpp"

namespace brevanto {
namespace {

TEST(ViolationList, KeepsWithinItsRoomThenSaysSeeFile) {
  std::string out;
  Console con(out);
  for (const Language language : {Language::english, Language::french}) {
    ViolationList list(con, false, language, 62);
    for (int i = 0; i < 20; ++i)
      list.add("K : 1, should be: = 2");
    // Each line "\n-K : 1, should be: = 2" takes 23 characters; one more fits while the text
    // is shorter than 421 - 62 - 21 = 338 characters: 15 lines.
    std::string expected;
    for (int i = 0; i < 15; ++i)
      expected += "\n-K : 1, should be: = 2";
    EXPECT_EQ(list.text(), expected + "\n" + std::string(seefile_text(language)));
  }
  EXPECT_EQ(seefile_text(Language::english), "... See file Brevanto.log");
  EXPECT_EQ(out, "");
  // The verbose console shows the room of each line.
  ViolationList verbose(con, true, Language::english, 20);
  verbose.add("K : 1, should be: = 2");
  EXPECT_EQ(out, " 0 20 21 464\n");
}

// A popup shows "/" as one character: a line with slashes takes the room of the same line with
// underscores, and the list holds it as shown.
TEST(ViolationList, CountsASlashOnceAndNeverPassesAMessage) {
  std::string out;
  Console con(out);
  ViolationList slashes(con, false, Language::english, 20);
  ViolationList underscores(con, false, Language::english, 20);
  for (int i = 0; i < 20; ++i) {
    slashes.add("K : " + std::string(30, '/') + ", should be: = x");
    underscores.add("K : " + std::string(30, '_') + ", should be: = x");
  }
  std::string shown = underscores.text();
  std::replace(shown.begin(), shown.end(), '_', '/');
  EXPECT_EQ(slashes.text(), shown);
  ViolationList long_lines(con, false, Language::english, 0);
  for (int i = 0; i < 5; ++i)
    long_lines.add(std::string(300, 'v'));
  EXPECT_LE(long_lines.text().size(), kMsgLen);
}

TEST(SummaryText, PlansWhileTheyFitThenSeeFileOnce) {
  SummaryText summary(Language::english);
  for (int i = 0; i < 30; ++i)
    summary.add("day.fpl", 7, "No error found");
  // Each plan takes 23 characters: twenty fit below 500 with the see-file text's 25.
  std::string expected;
  for (int i = 0; i < 20; ++i)
    expected += "\nday.fpl\nNo error found";
  EXPECT_EQ(summary.text(), expected + "\n... See file Brevanto.log");
}

}  // namespace
}  // namespace brevanto
