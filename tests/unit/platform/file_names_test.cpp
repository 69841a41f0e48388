// The patterns of the command line and the order Explorer lists names in.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform.hpp"

namespace {

TEST(MatchesPattern, StarsMarksAndCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool matches;
  };
  const Case cases[] = {
      {"day1.fpl", "*.fpl", true},
      {"DAY1.FPL", "*.fpl", true},
      {"\xC9tape.fpl", "\xE9tape.*", true},  // accented letters ignore case too
      {"notes.fpl.bak", "*.fpl", false},     // the whole name must match
      {"x.fplx", "*.fpl", false},
      {".fpl", "*.fpl", true},  // "*" may stand for nothing
      {"day10.fpl", "day?.fpl", false},
      {"day1.fpl", "day?.fpl", true},
      {"a.b.c.fpl", "*.*.fpl", true},
      {"abcabd", "*ab?", true},  // the first "ab" is not the one the pattern ends with
      {"abcabe", "*abd", false},
      {"task", "*.*", false},
      {"", "*", true},
      {"", "?", false},
      {"day1.fpl", "day1.fpl", true},
      {"day1.fpl", "day1.fpl*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::matches_pattern(c.name, c.pattern), c.matches)
        << c.name << " against " << c.pattern;
  }
}

TEST(FileNameOrder, AsExplorerListsThem) {
  const std::vector<std::string> listed = {
      "_draft.fpl", "1st.fpl",      "Day 2.fpl",      "Day 10.fpl",
      "Day1.FPL",   "day1.fpl",     "day1b.fpl",      "day2.fpl",
      "day02a.fpl", "Day10.fpl",    "day100.fpl",     "day99999999999999999999.fpl",
      "Etape.fpl",  "\xC9tape.fpl", "\xE9tape 2.fpl", "Final.fpl",
      "task.fpl",   "task 1.fpl",   "task1.fpl"};
  std::vector<std::string> sorted(listed.rbegin(), listed.rend());
  std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
    return platform::file_name_less(a, b);
  });
  EXPECT_EQ(sorted, listed);
}

}  // namespace
