#include "rule_index.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "rules_workbench.hpp"

namespace brevanto {
namespace {

using fixtures::RulesWorkbench;

// Rule keys of every kind, some of them hostile.
constexpr const char* kRules =
    "Count>=6\n"            // 1 plain
    "Count<=12\n"           // 2 the same key again
    "TPRadius$>=500\n"      // 3 turnpoint wildcards
    "TPRadius?<=3000\n"     // 4
    "TPRadius%<=3000\n"     // 5
    "TPR*>=0\n"             // 6 a prefix shorter than the others
    "T*>=0\n"               // 7 shorter still
    "*!=x\n"                // 8 every key
    "TP*Name=x\n"           // 9 misplaced: said on every line
    "Abc**=x\n"             // 10 doubled
    "[Task]Count>=4\n"      // 11 section-qualified
    "[Task]TP*>=0\n"        // 12 section-qualified wildcard
    "[Ta*>=0\n"             // 13 a wildcard inside the section
    "[A]B*C=x\n"            // 14 section-qualified, misplaced
    "TPWidth|>=300\n"       // 15 finish keys
    "[Task]TPRadius|<=1\n"  // 16
    "TP*|=x\n"              // 17 misplaced once replaced
    "TPRadius5<=4000\n";    // 18 the finish key of a plan with Count=6

class RuleIndexTest : public ::testing::Test, public RulesWorkbench {
 protected:
  RuleIndexTest() {
    read_rules(kRules);
    lookup.emplace(table);
  }
  // A plan whose finish is this turnpoint.
  void replace_finish_keys(const std::string& finish) { lookup->start_plan(std::stoll(finish)); }
  std::vector<int> candidates(const std::string& section, const std::string& key) {
    lookup->enter_section(section);
    std::vector<int> rules;
    lookup->candidates(key, rules);
    return rules;
  }

  std::optional<RuleLookup> lookup;
};

// Whatever the section and the key, the index gives, in table order, every rule whose key
// selects the line's key and every misplaced one (which must say so on each line).
TEST_F(RuleIndexTest, GivesEveryRuleThatMaySelectTheKeyInTableOrder) {
  ASSERT_EQ(table.check_num, 18);
  const char* sections[] = {"", "[Task]", "[Ta", "[Task]TP", "[Task] x", "[A]", "[WeatherZone0]"};
  const char* keys[] = {"Count",     "Coun",     "Countx",   "TPRadius2", "TPRadius",  "TPR",
                        "TPRadius5", "TPWidth5", "TPWidth|", "T",         "",          "Abc",
                        "BxC",       "TPxName",  "x",        "[Task]",    "TPWidth50", "sk]TPA"};
  for (const std::string finish : {"5", "12"}) {
    replace_finish_keys(finish);
    for (const std::string section : sections) {
      for (const std::string key : keys) {
        const std::vector<int> got = candidates(section, key);
        EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
        EXPECT_EQ(std::adjacent_find(got.begin(), got.end()), got.end());
        for (int i = 1; i <= table.check_num; ++i) {
          const RuleKey rule = *lookup->key_of(i);
          const std::string key_chk = rule.sectioned ? section + key : key;
          std::string said;
          Console quiet(said);
          const bool selects = wildcardcompare(quiet, rule.key, key_chk, 0, 13);
          if (!selects && said.empty()) continue;
          EXPECT_NE(std::find(got.begin(), got.end(), i), got.end())
              << "rule " << i << " " << rule.key << " in [" << section << "] for " << key;
        }
      }
    }
  }
}

// Plain keys are found by the key itself: a line is not compared with the whole table.
TEST_F(RuleIndexTest, FewCandidatesPerLine) {
  replace_finish_keys("5");
  struct Case {
    const char* section;
    const char* key;
    std::vector<int> rules;
  };
  const Case cases[] = {
      {"", "Count", {1, 2, 8, 9, 10, 14, 16, 17}},
      {"[Task]", "Count", {1, 2, 8, 9, 10, 11, 14, 16, 17}},
      {"[Task]", "TPRadius5", {3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 17, 18}},
      {"[Plane]", "TPWidth5", {7, 8, 9, 10, 14, 15, 16, 17}},
      {"[Plane]", "Name", {8, 9, 10, 14, 16, 17}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(candidates(c.section, c.key), c.rules) << c.section << c.key;
  }
  // The next plan's finish: the old key no longer finds the finish rule.
  replace_finish_keys("9");
  EXPECT_EQ(candidates("[Plane]", "TPWidth5"), (std::vector<int>{7, 8, 9, 10, 14, 16, 17}));
  EXPECT_EQ(candidates("[Plane]", "TPWidth9"), (std::vector<int>{7, 8, 9, 10, 14, 15, 16, 17}));
}

// Plans with ever new keys: the index forgets the keys it has met, never the plan's finish.
TEST_F(RuleIndexTest, ManyKeysForgetNoRule) {
  replace_finish_keys("5");
  for (int i = 0; i < 10000; ++i)
    candidates("[Plane]", "Key" + std::to_string(i));
  EXPECT_EQ(candidates("[Plane]", "TPWidth5"), (std::vector<int>{7, 8, 9, 10, 14, 15, 16, 17}));
  EXPECT_EQ(candidates("[Task]", "Count"), (std::vector<int>{1, 2, 8, 9, 10, 11, 14, 16, 17}));
}

}  // namespace
}  // namespace brevanto
