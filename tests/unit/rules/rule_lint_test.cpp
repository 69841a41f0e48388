// Warnings about rules, told when the rules are read: each names its rule and its line in the
// file, says what is wrong and how to mend it.
#include "rule_lint.hpp"

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

TEST(NearestPlanKey, OneOrTwoEditsInTheSameForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"TPRaduis*", "TPRadius*"},  // two letters swapped
      {"TPRaduis|", "TPRadius|"},
      {"TPRaduis$", "TPRadius$"},
      {"TPRaduis3", "TPRadius3"},
      {"[Plane]Nmae", "[Plane]Name"},
      {"windspeed", "WindSpeed"},  // keys are case-sensitive
      {"StartTim", "StartTime"},
      {"Clas", "Class"},
      {"TPPosQ2", "TPPosX2"},  // as near as TPPosY and TPPosZ: the first of the table
      {"MaxWindSpeed", ""},    // WindSpeed is three edits away
      {"Cls", ""},             // two edits: too many for a short key
      {"Thermals$", ""},       // "$" selects turnpoints: only their families are meant
      {"WindSpeed|", ""},
  };
  for (const auto& [key, nearest] : cases)
    EXPECT_EQ(nearest_plan_key(key), nearest) << key;
}

class RuleLintTest : public ::testing::Test, public fixtures::RulesWorkbench {
 protected:
  // The rules head of the report for `rules`: the count line, the warnings, a blank line.
  std::string head(const std::string& rules) {
    dir.write("Brevanto.log", "");
    EXPECT_FALSE(read_rules(rules));
    return log();
  }
};

TEST_F(RuleLintTest, EachSlipWithItsLineAndHint) {
  const std::string rules =
      "# Club class\n"
      "TPRadius1=>500\n"
      "TPRadius1 =< 3000\n"
      "Landscape<>Test\n"
      "\n"
      "StartTime>=12:00\n"
      "StartTime<=14:20\n"
      "StartTime<=14,5\n"
      "MaxWindSpeed<15\n"
      "TPRaduis*>=500\n"
      "Name=StdCirrus\n"
      "Landscape=Alps<East\n"
      "PlaneName=LS8AGL\n"
      "TPHeight1<=1500,5AGL\n";
  EXPECT_EQ(head(rules),
            "12  constraints to check\n"
            "*** rule 1 (line 2) : TPRadius1=>500 : a relation written backwards: did you mean >= "
            "***\n"
            "*** rule 2 (line 3) : TPRadius1 =< 3000 : a relation written backwards: did you mean "
            "<= ***\n"
            "*** rule 3 (line 4) : Landscape<>Test : a relation written backwards: did you mean "
            "!= ***\n"
            "*** rule 4 (line 6) : StartTime>=12:00 : 12:00 is a time of day: times are decimal "
            "hours: 12.0 ***\n"
            "*** rule 5 (line 7) : StartTime<=14:20 : 14:20 is a time of day: times are decimal "
            "hours: 14.33 ***\n"
            "*** rule 6 (line 8) : StartTime<=14,5 : 14,5 reads as 14: decimal point: 14.5 ***\n"
            "*** rule 7 (line 9) : MaxWindSpeed<15 : its key is no flight-plan key ***\n"
            "*** rule 8 (line 10) : TPRaduis*>=500 : its key is no flight-plan key: did you mean "
            "TPRadius* ***\n"
            "*** rule 9 (line 11) : Name=StdCirrus : Name stands in several sections of a plan: "
            "qualify it, e.g. [Plane]Name ***\n"
            "*** rule 10 (line 12) : Landscape=Alps<East : its key can never match a flight-plan "
            "key ***\n"
            "*** rule 11 (line 13) : PlaneName=LS8AGL : its key is no flight-plan key ***\n"
            "*** rule 11 (line 13) : PlaneName=LS8AGL : AGL only for real or integer values ***\n"
            "*** rule 12 (line 14) : TPHeight1<=1500,5AGL : 1500,5 reads as 1500: decimal point: "
            "1500.5 ***\n"
            " \n");
  EXPECT_NE(out.find("*** rule 7 (line 9) : MaxWindSpeed<15 :"), std::string::npos);  // console
  // The rules stay as they read: a warning changes no verdict.
  EXPECT_EQ(table[1].check_key, "TPRadius1=");
  EXPECT_EQ(table[6].check_int, 14);
}

TEST_F(RuleLintTest, SoundRulesGoUntold) {
  const std::string rules =
      "[Plane]Name=StdCirrus\n"
      "Class=Club;Standard\n"
      "Class=Club;15,5m\n"
      "TPRadius$>=500\n"
      "TPRadius|<=3000\n"
      "FinishMaxAlt<=BASE\n"
      "StartMinAlt>=1000\n"
      "TPName1[]Start\n"
      "Thermals*>1\n"
      "TPRadius1*>1\n"
      "Penalty*>=0\n"
      "*!=x\n"
      "StartTime<=14.5\n"
      "Landscape[]1,2\n"
      "[Task]Count>=4\n"
      "[WeatherZone0]WindSpeed<15\n"
      "PZPos1X2>0\n"
      "Polygon3Y1>0\n"
      "Soarix version>=3\n"
      "TaskName!=Test\n"
      "PenaltyLostKnuckle>=0\n"
      "[WeatherZone*=1\n"
      "Text[]12:00\n";
  EXPECT_EQ(head(rules), "23  constraints to check\n \n");
}

TEST_F(RuleLintTest, InFrench) {
  s.language = Language::french;
  EXPECT_EQ(head("TPRadius1=>500\nStartTime>=12:30\nStartTime<=14,5\nTPRaduis*>=500\n"
                 "Name=StdCirrus\n[Task]>=4\nKey=LS8AGL\n"),
            " 7  contraintes \xE0 v\xE9rifier\n"
            "*** r\xE8gle 1 (ligne 1) : TPRadius1=>500 : une relation \xE9"
            "crite \xE0 l'envers : vouliez-vous dire >= ***\n"
            "*** r\xE8gle 2 (ligne 2) : StartTime>=12:30 : 12:30 est une heure du jour : les "
            "heures s'\xE9"
            "crivent en d\xE9"
            "cimal : 12.5 ***\n"
            "*** r\xE8gle 3 (ligne 3) : StartTime<=14,5 : 14,5 se lit 14 : point d\xE9"
            "cimal : 14.5 ***\n"
            "*** r\xE8gle 4 (ligne 4) : TPRaduis*>=500 : sa cl\xE9 n'est pas une cl\xE9 de plan "
            "de vol : vouliez-vous dire TPRadius* ***\n"
            "*** r\xE8gle 5 (ligne 5) : Name=StdCirrus : Name figure dans plusieurs sections "
            "d'un plan : pr\xE9"
            "cisez-la, par exemple [Plane]Name ***\n"
            "*** r\xE8gle 6 (ligne 6) : [Task]>=4 : sa cl\xE9 ne peut correspondre \xE0 aucune "
            "cl\xE9 de plan de vol ***\n"
            "*** r\xE8gle 7 (ligne 7) : Key=LS8AGL : sa cl\xE9 n'est pas une cl\xE9 de plan de "
            "vol ***\n"
            "*** r\xE8gle 7 (ligne 7) : Key=LS8AGL : AGL seulement pour les valeurs r\xE9"
            "elles ou enti\xE8res ***\n"
            " \n");
}

}  // namespace
}  // namespace brevanto
