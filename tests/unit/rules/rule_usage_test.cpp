// Rules that do nothing: keys that can never match, rules that matched no line.
#include "rule_usage.hpp"

#include <gtest/gtest.h>

#include "rules_workbench.hpp"
#include "value_primitives.hpp"

namespace brevanto {
namespace {

TEST(KeyCanNeverMatch, TheFourKindsAndWhatStaysUsable) {
  struct Case {
    const char* key;
    bool never;
  };
  const Case cases[] = {
      // a key holding "=": the line "Landscape=Alps<East" is split at its last relation
      {"Landscape=Alps", true},
      {"[Task]Count=5", true},
      // nothing after the section prefix
      {"[Task]", true},
      {"[WeatherZone1]", true},
      // a wildcard before the end, or doubled at the end
      {"TP*Name", true},
      {"TPRadius$$", true},
      {"Penalty**", true},
      {"TP%Radius|", true},  // the finish number takes the "|"'s place: "%" is not last
      // usable keys
      {"Landscape", false},
      {"[Ta=sk]Count", false},  // the "=" is in the section header, which is any plan line
      {"[Task]Count", false},
      {"[Task", false},
      {"Thermals*", false},
      {"*", false},
      {"TPRadius$", false},
      {"TPRadius?", false},
      {"TPAngle%", false},
      {"TPRadius|", false},
      {"TPRadius*$", false},  // a "$" wildcard after the text "TPRadius*"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(key_can_never_match(c.key), c.never) << c.key;
  }
}

TEST(KeyCanNeverMatch, WildcardJudgedAsTheMatcherJudgesIt) {
  for (const char* key : {"TP*Name", "A$b", "TPRadius$$", "X?%", "%", "$", "A**", "*A*", "A*?",
                          "Abc*", "TPName?", "TPName%", "Plain"}) {
    std::string out;
    Console con(out);
    wildcardcompare(con, key, "TPName3", 3, 6);
    EXPECT_EQ(key_can_never_match(key), out.find("incorrect wildcard") != std::string::npos) << key;
  }
}

class RuleUsageTest : public ::testing::Test, public fixtures::RulesWorkbench {
 protected:
  void read(const std::string& rules) {
    dir.write("Brevanto.log", "");
    ASSERT_FALSE(read_rules(rules));
  }
};

TEST_F(RuleUsageTest, UselessRulesFollowTheCountLine) {
  const std::string rules =
      "Landscape=Alps<East\nStartTime<=14.5\n[Task]>=4\nTP*Name=a/b\nTPRadius$$>=500\n";
  read(rules);
  EXPECT_EQ(log(),
            " 5  constraints to check\n"
            "*** rule 1 : Landscape=Alps<East : its key can never match a flight-plan key ***\n"
            "*** rule 3 : [Task]>=4 : its key can never match a flight-plan key ***\n"
            "*** rule 4 : TP*Name=a/b : its key can never match a flight-plan key ***\n"
            "*** rule 5 : TPRadius$$>=500 : its key can never match a flight-plan key ***\n"
            " \n");
  EXPECT_NE(out.find("*** rule 4 : TP*Name=a/b : its key"), std::string::npos);  // console too
  s.language = Language::french;
  read("Landscape=Alps<East\n");
  EXPECT_EQ(log(),
            " 1  contraintes \xE0 v\xE9rifier\n"
            "*** r\xE8gle 1 : Landscape=Alps<East : sa cl\xE9 ne peut correspondre \xE0 aucune "
            "cl\xE9 de plan de vol ***\n \n");
}

TEST_F(RuleUsageTest, UnusedRulesBlock) {
  read("TPRaduis*>=500\nStartTime<=14.5\nFinishMaxAlt<=2000\n");
  RulesApplied applied(table.check_num);
  applied.rule_applies(2);
  dir.write("Brevanto.log", "");
  report_unused_rules(sink, table, applied, Language::english);
  EXPECT_EQ(log(), std::string(78, '-') +
                       "\nRules that matched no line of any checked plan:\n"
                       "  1 : TPRaduis*>=500\n  3 : FinishMaxAlt<=2000\n");
  applied.rule_applies(1);
  applied.rule_applies(3);
  dir.write("Brevanto.log", "");
  report_unused_rules(sink, table, applied, Language::french);
  EXPECT_EQ(log(), std::string(78, '-') +
                       "\nR\xE8gles qui ne correspondent \xE0 aucune ligne des plans "
                       "v\xE9rifi\xE9s :\n  aucune\n");
}

}  // namespace
}  // namespace brevanto
