#include "rules_file.hpp"

#include <gtest/gtest.h>

#include "fixed_text.hpp"
#include "rules_workbench.hpp"

namespace brevanto {
namespace {

using fixtures::RulesWorkbench;

class RulesFileTest : public ::testing::Test, public RulesWorkbench {
 protected:
  std::optional<RulesFault> read(const std::string& text) { return read_rules(text); }
};

std::string numbered_rules(int n) {
  std::string text = "# numbered\n";
  for (int i = 1; i <= n; ++i)
    text += "TPRadius" + std::to_string(i) + "=" + std::to_string(i) + "\n";
  return text;
}

TEST_F(RulesFileTest, LinesBecomeTypedConstraints) {
  read(
      "# TPHeight1<=1500\r\n"
      "TPHeight1<=1500\r\n"
      "\r\n"
      "[Task]\r\n"
      "TPHeight1<=\r\n"
      "=5\r\n"
      " StartTime >= 12.5 \r\n"
      "Class=Club;Standard\r\n"
      "Count[]1\r\n"
      "TaskDate>=today\r\n"
      "RandSeed=99999999999\r\n"
      "MoveSpeed=1.0e40\r\n");
  ASSERT_EQ(table.check_num, 7);
  const Constraint& c = table[1];
  EXPECT_EQ(c.check_key, "TPHeight1");
  EXPECT_EQ(c.check_rel, "<=");
  EXPECT_EQ(c.check_val, "1500");
  EXPECT_EQ(c.check_typ, 'I');
  EXPECT_EQ(c.check_int, 1500);
  EXPECT_EQ(c.check_flt, 1500.0f);
  EXPECT_EQ(c.file_line, 2);  // comments and ignored lines count as lines of the file
  EXPECT_EQ(table[2].check_key, "StartTime");
  EXPECT_EQ(table[2].file_line, 7);
  EXPECT_EQ(table[2].check_rel, ">=");
  EXPECT_EQ(table[2].check_typ, 'R');
  EXPECT_EQ(table[2].check_flt, 12.5f);
  EXPECT_EQ(table[3].check_typ, 'C');
  EXPECT_EQ(table[4].check_rel, "[]");
  EXPECT_EQ(table[4].check_typ, 'I');
  EXPECT_EQ(table[5].check_typ, 'I');  // today
  EXPECT_GT(table[5].check_int, 45000);
  EXPECT_EQ(table[6].check_typ, 'C');
  EXPECT_EQ(table[7].check_typ, 'C');
  EXPECT_FALSE(table.qfinish);
  EXPECT_FALSE(table.qbase);
  EXPECT_EQ(log(), " 7  constraints to check\n \n");
}

TEST_F(RulesFileTest, QualifiersAndAliases) {
  read(
      "StartMaxAlt<=1500AGL\n"
      "FinishMinAlt>=BASE-200\n"
      "TPHeight2=BASE\n"
      "TPHeight3=500AMSL\n"
      "Class=AGL\n"
      "Skin=LS8AGL\n"
      "TPWidth2=BASE 300\n"
      "StartMinAltX=1000 AGL\n"
      "FinishMaxAlt<=2000\n"
      "StartMinAlt>=1\n");
  ASSERT_EQ(table.check_num, 10);
  struct Want {
    std::string key, val;
    char typ;
    bool agl, bas;
  };
  const Want want[] = {
      {"TPHeight1", "1500", 'R', true, false},  {"TPWidth|", "-200", 'I', false, true},
      {"TPHeight2", "+0", 'I', false, true},    {"TPHeight3", "500", 'I', false, false},
      {"Class", "AGL", 'C', false, false},      {"Skin", "LS8", 'C', true, false},
      {"TPWidth2", " 300", 'I', false, true},   {"StartMinAltX", "1000", 'R', true, false},
      {"TPHeight|", "2000", 'I', false, false}, {"TPWidth1", "1", 'I', false, false}};
  for (int i = 1; i <= 10; ++i) {
    const Want& w = want[i - 1];
    EXPECT_EQ(table[i].check_key, w.key) << i;
    EXPECT_EQ(table[i].check_val, w.val) << i;
    EXPECT_EQ(table[i].check_typ, w.typ) << i;
    EXPECT_EQ(table[i].check_agl, w.agl) << i;
    EXPECT_EQ(table[i].check_bas, w.bas) << i;
  }
  EXPECT_EQ(table[1].check_flt, 1500.0f);
  EXPECT_EQ(table[2].check_int, -200);
  EXPECT_EQ(table[7].check_int, 300);
  EXPECT_TRUE(table.qfinish);
  EXPECT_TRUE(table.qbase);
  EXPECT_EQ(log(),
            "10  constraints to check\n"
            "*** rule 6 (line 6) : Skin=LS8AGL : AGL only for real or integer values ***\n"
            "*** rule 8 (line 8) : StartMinAltX=1000 AGL : its key is no flight-plan key ***\n"
            " \n");
}

TEST_F(RulesFileTest, LongLinesKeysAndValuesAreCut) {
  const std::string key100(100, 'k');
  read("Key=" + std::string(496, 'x') + "\n" +  // 500 characters
       std::string(200, 'A') + "=5\n" +         // relation beyond column 132: no rule
       key100 + "=1\n");
  ASSERT_EQ(table.check_num, 2);
  EXPECT_EQ(table[1].check_val, std::string(80, 'x'));
  EXPECT_EQ(table[2].check_key, std::string(80, 'k'));
}

TEST_F(RulesFileTest, BlankValuesWithEveryRelationAreIgnored) {
  read("A=\nA!=\nA<\nA<=\nA>\nA>=\nA[]\nA=   \nB[]x\n");
  ASSERT_EQ(table.check_num, 1);
  EXPECT_EQ(table[1].check_key, "B");
}

TEST_F(RulesFileTest, VerboseLineShowsEachConstraint) {
  s.qverb = true;
  read("StartMaxAlt<=1500AGL\n");
  EXPECT_NE(out.find(" 1 TPHeight1 <= 1500 T\n"), std::string::npos) << out;
}

TEST_F(RulesFileTest, TwoHundredConstraintsAreAccepted) {
  read(numbered_rules(200));
  EXPECT_EQ(table.check_num, 200);
  EXPECT_EQ(table[200].check_key, "TPRadius200");
  EXPECT_EQ(log(), "**  constraints to check\n \n");
}

TEST_F(RulesFileTest, MoreThanTwoHundredIsAFault) {
  const std::string path = escape_slashes(dir.str("rules.fpl"));  // must stay one line
  const std::optional<RulesFault> fault = read(numbered_rules(201));
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->kind, RulesFault::Kind::too_many);
  EXPECT_EQ(fault->message, path + "/More than 200 constraints");
  EXPECT_EQ(table.check_num, 200);
  EXPECT_EQ(log(), "");  // the run writes the message, then stops

  s.language = Language::french;
  EXPECT_EQ(read(numbered_rules(250))->message, path + "/Plus de 200 contraintes");
}

TEST_F(RulesFileTest, NoConstraintIsAFault) {
  std::optional<RulesFault> fault = read("# only\n#comments\n[Task]\n");
  ASSERT_TRUE(fault);
  EXPECT_EQ(fault->kind, RulesFault::Kind::none_defined);
  EXPECT_EQ(fault->message, "*** DEFAULT_CHECK.fpl : no test defined ***");
  s.language = Language::french;
  EXPECT_EQ(read("")->message,
            "*** DEFAULT_CHECK.fpl : pas de test d\xE9"
            "fini ***");
  EXPECT_EQ(log(), "");
  EXPECT_EQ(out, "");
}

TEST_F(RulesFileTest, MissingFileIsAFault) {
  const std::string path = dir.str("missing.fpl");
  for (Language language : {Language::english, Language::french}) {
    const RulesFault fault = rules_file_cannot_be_opened(path, language);
    EXPECT_EQ(fault.kind, RulesFault::Kind::cannot_open);
    EXPECT_EQ(fault.message,
              escape_slashes(path) + (language == Language::french
                                          ? "/fichier de r\xE8gles : ouverture impossible"
                                          : "/rules file cannot be opened"));
  }
}

TEST_F(RulesFileTest, FrenchCountLine) {
  s.language = Language::french;
  read("Water=1\nWindSpeed=2\n");
  EXPECT_EQ(log(), " 2  contraintes \xE0 v\xE9rifier\n \n");
}

}  // namespace
}  // namespace brevanto
