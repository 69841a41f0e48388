// Rules that matched no line of any plan.
#include "rule_usage.hpp"

#include <gtest/gtest.h>

#include "rules_workbench.hpp"

namespace brevanto {
namespace {

class RuleUsageTest : public ::testing::Test, public fixtures::RulesWorkbench {
 protected:
  void read(const std::string& rules) {
    dir.write("Brevanto.log", "");
    ASSERT_FALSE(read_rules(rules));
  }
};

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
