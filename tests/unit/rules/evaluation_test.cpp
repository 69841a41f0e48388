#include "evaluation.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "extract_key_val.hpp"
#include "finding_text.hpp"
#include "plan_keys.hpp"
#include "platform.hpp"
#include "rules_workbench.hpp"
#include "value_primitives.hpp"

namespace brevanto {
namespace {

using fixtures::RulesWorkbench;

// A rules table read from a file, then flight plans checked against it, the journal in a
// temporary folder.
class EvaluationTest : public ::testing::Test, public RulesWorkbench {
 protected:
  void rules(const std::string& text) {
    read_rules(text);
    lookup.emplace(table);
    dir.write("Brevanto.log", "");
    out.clear();
  }
  // Most plans of these tests are made of keys no flight plan has ("K=5"): such a plan gets a
  // header after its lines, so that it counts as a flight plan and nothing else changes.
  PlanCheckResult check(const std::string& plan, float zbase = 0) {
    dir.write("Brevanto.log", "");
    sink.findings.clear();
    bool plan_line = false;
    for (std::size_t from = 0; from < plan.size();) {
      const std::size_t end = std::min(plan.find('\n', from), plan.size());
      const std::string_view line = std::string_view(plan).substr(from, end - from);
      plan_line = plan_line || is_flight_plan_line(line, split_key_val(line).key);
      from = end + 1;
    }
    const bool bare = !plan_line && plan.ends_with('\n');
    TextFile file(dir.write("plan.fpl", bare ? plan + "[Task]\n" : plan));
    return check_plan(con, table, *lookup, s, carry, file, zbase, sink);
  }
  // The last plan's violations as a popup lists them, its room aside.
  std::string popup() const {
    std::string text;
    for (const Finding& f : sink.findings) {
      if (f.verdict != Verdict::ok) text += "\n-" + popup_line(f, s.language);
    }
    return text;
  }
  // Violations of a one-rule table on a one-line plan.
  long long violations(const std::string& rule, const std::string& line) {
    rules(rule + "\n");
    return check(line + "\n").nl_nok;
  }

  PlanCarry carry;
  std::optional<RuleLookup> lookup;  // the run's, from plan to plan
};

TEST_F(EvaluationTest, RelationsForEveryPairOfTypes) {
  struct Case {
    const char* rule;
    const char* line;
    int nok;
  };
  const Case cases[] = {
      // text / text: byte order, case-sensitive
      {"K=abc", "K=abc", 0},
      {"K=abc", "K=Abc", 1},
      {"K!=abc", "K=abd", 0},
      {"K!=abc", "K=abc", 1},
      {"K<LS4", "K=ASK21", 0},
      {"K<LS4", "K=LS4", 1},
      {"K<=LS4", "K=LS4", 0},
      {"K>ASK21", "K=LS4", 0},
      {"K>LS4", "K=LS4", 1},
      {"K>=LS4", "K=LS4", 0},
      {"K>=LS4", "K=ASK21", 1},
      // integer / integer
      {"K=5", "K=5", 0},
      {"K=5", "K=6", 1},
      {"K!=5", "K=6", 0},
      {"K!=5", "K=5", 1},
      {"K<5", "K=4", 0},
      {"K<5", "K=5", 1},
      {"K<=5", "K=5", 0},
      {"K<=5", "K=6", 1},
      {"K>5", "K=6", 0},
      {"K>5", "K=5", 1},
      {"K>=5", "K=5", 0},
      {"K>=5", "K=4", 1},
      // real / real: tolerance only for "="
      {"K=12.0", "K=12.00001", 0},
      {"K=12.0", "K=12.001", 1},
      {"K!=12.0", "K=12.00001", 0},
      {"K!=12.0", "K=12.0", 1},
      {"K<2.5", "K=1.5", 0},
      {"K<=2.5", "K=2.5", 0},
      {"K>2.5", "K=2.5", 1},
      {"K>=2.5", "K=2.49999", 1},
      // real plan / integer rule: "=" rounds halves away from zero
      {"K=50", "K=50.4", 0},
      {"K=50", "K=50.5", 1},
      {"K=-51", "K=-50.5", 0},
      {"K!=50", "K=50.4", 0},
      {"K!=50", "K=50.0", 1},
      {"K<=1500", "K=1500.0", 0},
      {"K<1500", "K=1500.0", 1},
      {"K>1500", "K=1500.1", 0},
      {"K>=1500", "K=1499.9", 1},
      // integer plan / real rule
      {"K=12.0", "K=12", 0},
      {"K=12.00001", "K=12", 0},
      {"K!=12.00001", "K=12", 0},
      {"K<12.5", "K=12", 0},
      {"K<=11.5", "K=12", 1},
      {"K>11.5", "K=12", 0},
      {"K>=12.5", "K=12", 1},
      // exact values: 16777217 is no 32-bit real
      {"K!=16777216.0", "K=16777217", 0},
      {"K>16777216.0", "K=16777217", 0},
      // "[]": the texts, for every pair of types
      {"K[]Alps", "K=SwissAlps2", 0},
      {"K[]Alps", "K=Jura", 1},
      {"K[]1", "K=10", 0},
      {"K[]1", "K=20", 1},
      {"K[]a", "K=12", 1},
      {"K[]1", "K=x1y", 0},
      {"K[]2.5", "K=12.5", 0},
      {"K[]12", "K=1", 1},
      // a list only for "="
      {"K!=a;b", "K=a", 0},
      {"K<a;b", "K=a", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(violations(c.rule, c.line), c.nok) << c.rule << " against " << c.line;
    EXPECT_EQ(log().find("INCOMPATIBLE"), std::string::npos) << c.rule;
  }
}

TEST_F(EvaluationTest, NumberAgainstTextIsIncompatible) {
  for (const char* rel : {"=", "!=", "<", "<=", ">", ">="}) {
    for (const auto& [val, line] : {std::pair{"6", "Count=abc"},
                                    {"6.5", "Count=abc"},
                                    {"abc", "Count=6"},
                                    {"abc", "Count=6.5"}}) {
      EXPECT_EQ(violations(std::string("Count") + rel + val, line), 1) << rel << val << line;
      EXPECT_EQ(log(), "Count : *** INCOMPATIBLE DATA TYPES: " + std::string(line).substr(6) + "," +
                           val + "\n");
    }
  }
  s.language = Language::french;
  rules("Count=6\n");
  EXPECT_EQ(check("Count=abc\n").nl_nok, 1);
  EXPECT_EQ(log(), "Count : *** TYPES DE DONNEES INCOMPATIBLES : abc,6\n");
  EXPECT_EQ(popup(), "\n-Count : *** TYPES DE DONNEES INCOMPATIBLES : abc,6");
}

TEST_F(EvaluationTest, ViolationLineHasShouldBeInColumn40) {
  rules("TPHeight1<=1500\nTPHeight1<1000\n");
  PlanCheckResult r = check("TPHeight1=1800\nTPHeight1=1500.0\n");
  EXPECT_EQ(r.nl, 2);
  EXPECT_EQ(r.nl_nok, 3);  // the first line fails both rules
  EXPECT_EQ(log(),
            "TPHeight1 : 1800                       should be: <= 1500\n"
            "TPHeight1 : 1800                       should be: < 1000\n"
            "TPHeight1 : 1500.0                     should be: < 1000\n");
  EXPECT_TRUE(popup().starts_with("\n-TPHeight1 : 1800, should be: <= 1500\n-TPHeight1 : 1800, "))
      << popup();
  EXPECT_EQ(r.end, ScanEnd::end_of_file);

  s.language = Language::french;
  rules("TPHeight1<=1500\n");
  r = check("TPHeight1=1800\n");
  EXPECT_EQ(log(), "TPHeight1 : 1800                       devrait \xEAtre : <= 1500\n");
  EXPECT_EQ(popup(), "\n-TPHeight1 : 1800, devrait \xEAtre : <= 1500");
}

TEST_F(EvaluationTest, LongKeyAndValueStayWhole) {
  const std::string key(30, 'K');
  const std::string value(90, 'v');  // cut at 80 when the line is split
  rules(key + "=x\n");
  check(key + "=" + value + "\n");
  EXPECT_EQ(log(), key + " : " + std::string(80, 'v') + " should be: = x\n");
  // 39 columns: "should be" in column 40, as for a shorter pair
  rules("K=x\n");
  check("K=" + std::string(35, 'v') + "\n");
  EXPECT_EQ(log(), "K : " + std::string(35, 'v') + "should be: = x\n");
  check("K=" + std::string(36, 'v') + "\n");
  EXPECT_EQ(log(), "K : " + std::string(36, 'v') + " should be: = x\n");
}

TEST_F(EvaluationTest, SlashInAValueStaysOnItsLine) {
  rules("Landscape=Alps\n");
  check("Landscape=Alps/East\n");
  EXPECT_EQ(log(), "Landscape : Alps/East                  should be: = Alps\n");
  EXPECT_EQ(popup(), "\n-Landscape : Alps/East, should be: = Alps");  // the run escapes it
}

TEST_F(EvaluationTest, MinAltAndWeatherZoneDecorations) {
  rules("TPWidth1>=500\nThermalsStrength>3\n");
  PlanCheckResult r = check(
      "TPName1=Start\nTPSectorType1=0\nTPWidth1=300\nPZCount=0\nWZCount=2\n"
      "[WeatherZone0]\nThermalsStrength=2\n[WeatherZone1]\nThermalsStrength=2\n"
      "[WeatherZone2]\nThermalsStrength=2\n[Plane]\nThermalsStrength=2\n");
  EXPECT_EQ(log(),
            "TPWidth1 (Min Alt) : 300               should be: >= 500\n"
            "ThermalsStrength[0] : 2                should be: > 3\n"
            "ThermalsStrength[1] : 2                should be: > 3\n"
            "ThermalsStrength : 2                   should be: > 3\n"
            "ThermalsStrength : 2                   should be: > 3\n");
  EXPECT_EQ(popup(),
            "\n-TPWidth1 : 300, should be: >= 500\n-ThermalsStrength[0] : 2, should be: > 3"
            "\n-ThermalsStrength[1] : 2, should be: > 3\n-ThermalsStrength : 2, should be: > 3"
            "\n-ThermalsStrength : 2, should be: > 3");
  // Inside a sector-type-0 turnpoint the popup line carries no zone either.
  r = check("WZCount=2\n[WeatherZone1]\nTPName1=S\nTPSectorType1=0\nThermalsStrength=2\n");
  EXPECT_EQ(log(), "ThermalsStrength[1] : 2                should be: > 3\n");
  EXPECT_EQ(popup(), "\n-ThermalsStrength : 2, should be: > 3");
}

TEST_F(EvaluationTest, AglIsAboveTheTurnpointGroundForSectorType0) {
  s.qverb = true;
  rules("TPHeight2<=1000AGL\n");
  PlanCheckResult r =
      check("TPName2=B\nTPPosZ2=450\nTPSectorType2=0\nTPHeight2=1500\nTPHeight2=1400\n");
  EXPECT_EQ(r.nl_nok, 1);
  EXPECT_EQ(log(), "TPHeight2 : 1500                       should be: <= 1000AGL (1450.0)\n");
  EXPECT_EQ(popup(), "\n-TPHeight2 : 1500, should be: <= 1000AGL (1450.0)");
  EXPECT_NE(out.find("\n 950.0 1000.0\n"), std::string::npos) << out;  // verbose conversion
  // Another sector type compares the altitude as written.
  r = check("TPName2=B\nTPPosZ2=450\nTPSectorType2=1\nTPHeight2=1400\n");
  EXPECT_EQ(log(), "TPHeight2 : 1400                       should be: <= 1000AGL (1450.0)\n");
  // A text value is not converted: text against a real.
  r = check("TPName2=B\nTPPosZ2=450\nTPSectorType2=0\nTPHeight2=high\n");
  EXPECT_EQ(log(), "TPHeight2 : *** INCOMPATIBLE DATA TYPES: high,1000\n");
}

TEST_F(EvaluationTest, BaseIsAnOffsetFromTheCloudBase) {
  s.qverb = true;
  rules("TPHeight|<=BASE+500\nMaxAlt=BASE\n");
  PlanCheckResult r = check(
      "[Task]\nCount=6\nTPName5=F\nTPSectorType5=1\nTPHeight5=1800\nTPHeight5=1700\n"
      "MaxAlt=1200.0\nMaxAlt=1300\n",
      1200.0f);
  EXPECT_EQ(r.nl_nok, 2);
  EXPECT_EQ(log(),
            "TPHeight5 : 1800                       should be: <= BASE+500 (1700)\n"
            "MaxAlt : 1300                          should be: = BASE+0 (1200)\n");
  EXPECT_NE(out.find("\n 1800.0 1200.0 600.0\n"), std::string::npos) << out;
  s.language = Language::french;
  rules("K>BASE-200.5\n");
  r = check("K=900\n", 1200.0f);  // 900 - 1200 is not above -200.5
  EXPECT_EQ(log(),
            "K : 900                                devrait \xEAtre : > BASE-200.5 (1000)\n");
}

TEST_F(EvaluationTest, OkLinesOnRequest) {
  s.qoklines = true;
  rules("TPHeight1<=1500\nK=1\n");
  EXPECT_EQ(check("TPHeight1=1000\nK=2\n").nl_nok, 1);
  EXPECT_EQ(log(),
            "TPHeight1 : OK\n"
            "K : 2                                  should be: = 1\n");
  EXPECT_EQ(popup(), "\n-K : 2, should be: = 1");
}

TEST_F(EvaluationTest, ListOfAlternatives) {
  rules("PlaneClass=Club;Standard;15m\n");
  EXPECT_EQ(check("PlaneClass=Standard\n").nl_nok, 0);
  EXPECT_EQ(out, " Club\n Standard\n 15m\n \n");
  EXPECT_EQ(check("PlaneClass=standard\n").nl_nok, 1);
  EXPECT_EQ(violations("PlaneClass=Club;;Standard", "PlaneClass=Standard"), 1);  // ends at ";;"
  EXPECT_EQ(violations("PlaneClass=Club; Standard", "PlaneClass=Standard"), 0);
  // 50 items: the value is cut at 80 characters, so the first 40 count.
  std::string list;
  for (int i = 0; i < 50; ++i)
    list += std::string(1, static_cast<char>(i < 26 ? 'A' + i : 'a' + i - 26)) + ";";
  EXPECT_EQ(violations("K=" + list, "K=n"), 0);  // item 40
  EXPECT_EQ(violations("K=" + list, "K=o"), 1);  // item 41
}

TEST_F(EvaluationTest, TurnpointWildcardsUseCountAndCurrentTurnpoint) {
  rules("TPRadius$<=500\n");
  const std::string plan =
      "TPRadius2=900\n[Task]\nCount=6\nTPName1=S\nTPRadius1=900\nTPName2=A\nTPRadius2=900\n"
      "TPName3=B\nTPRadius3=900\nTPName4=C\nTPRadius4=900\nTPName5=F\nTPRadius5=900\n"
      "PZCount=0\nTPRadius3=900\n";
  PlanCheckResult r = check(plan);
  EXPECT_EQ(r.nl, 15);
  EXPECT_EQ(r.nl_nok, 3);
  EXPECT_EQ(log(),
            "TPRadius2 : 900                        should be: <= 500\n"
            "TPRadius3 : 900                        should be: <= 500\n"
            "TPRadius4 : 900                        should be: <= 500\n");
  rules("TPRadius%<=500\nTPRadius?<=500\n");
  EXPECT_EQ(check(plan).nl_nok, 3);  // 4 by "%", 2 and 3 by "?"
  // Without a readable Count the plan is still scanned, with no turnpoint between.
  rules("TPRadius$<=500\nK=1\n");
  r = check("Count=abc\nTPName2=A\nTPRadius2=900\nK=2\n");
  EXPECT_EQ(r.nl, 4);
  EXPECT_EQ(r.nl_nok, 1);
}

TEST_F(EvaluationTest, FinishKeysAreReplacedForThePlanAndRestored) {
  s.qverb = true;
  rules("TPWidth|>=300\nK=1\n");
  PlanCheckResult r = check("[Task]\nCount=12\nTPName11=F\nTPWidth11=200\nTPWidth5=200\n");
  EXPECT_EQ(lookup->key_of(1)->key, "TPWidth11");
  EXPECT_EQ(table[1].check_key, "TPWidth|");  // the table keeps the key as read
  EXPECT_EQ(log(), "TPWidth11 : 200                        should be: >= 300\n");
  EXPECT_NE(out.find(" nb_wp 11\n 1 TPWidth11 >= 300\n"), std::string::npos) << out;

  // A plan without Count, or with one that does not read, has no finish: it is checked against
  // every other rule, and one invalid line says why the finish rules were not.
  for (const auto& [count, shown] : {std::pair{"", "missing"}, std::pair{"Count=abc\n", "abc"}}) {
    r = check(std::string(count) + "TPWidth5=200\nTPWidth|=1\nK=2\n");
    EXPECT_EQ(r.nl_nok, 2);
    EXPECT_EQ(r.end, ScanEnd::end_of_file);
    std::string count_line = "Count : " + std::string(shown);
    count_line.resize(39, ' ');
    EXPECT_EQ(log(), count_line +
                         "*** finish turnpoint unknown: \"|\" rules not checked ***\n"
                         "K : 2                                  should be: = 1\n");
    EXPECT_FALSE(lookup->key_of(1));
  }
  // Each plan its own finish.
  check("Count=4\n");
  r = check("Count=7\nTPWidth6=200\nTPWidth3=200\n");
  EXPECT_EQ(r.nl_nok, 1);
  EXPECT_EQ(lookup->key_of(1)->key, "TPWidth6");
  check("Count=150\n");
  EXPECT_EQ(lookup->key_of(1)->key, "TPWidth149");
}

// Counts at the ends of the 32-bit range: the finish and the turnpoints before it are counted
// without overflow. With the least, no turnpoint is a finish or lies before one (the lines below
// are what a count wrapped around would select); with the greatest, the turnpoints below its
// finish 2147483646 are between start and finish.
TEST_F(EvaluationTest, ExtremeCountsDoNotOverflow) {
  rules("TPWidth|>=300\nTPRadius$<=500\nTPRadius?<=500\nTPRadius%<=500\n");
  const std::string lines =
      "TPName2=A\nTPRadius2=900\nTPRadius2147483645=900\nTPRadius2147483646=900\n"
      "TPWidth2147483646=200\nTPWidth2147483647=200\n";
  struct Case {
    const char* count;
    const char* finish_key;
    int nok;
  };
  const Case cases[] = {
      {"-2147483648", "TPWidth-2147483649", 0},
      // "$": 2 and 2147483645; "?": 2; "%": 2147483645; "|": 2147483646.
      {"2147483647", "TPWidth2147483646", 5},
  };
  for (const Case& c : cases) {
    const PlanCheckResult r = check("[Task]\nCount=" + std::string(c.count) + "\n" + lines);
    EXPECT_EQ(lookup->key_of(1)->key, c.finish_key);
    EXPECT_EQ(r.nl_nok, c.nok) << c.count;
  }
}

TEST_F(EvaluationTest, EarlyEndsKeepTheNextPlansFinish) {
  rules("TPWidth|>=300\n");
  PlanCheckResult r = check("Count=3\nTPName\nTPWidth2=200\n");
  EXPECT_EQ(r.end, ScanEnd::blank_as_end);
  EXPECT_EQ(r.nl, 2);
  EXPECT_EQ(r.nl_nok, 0);
  r = check("Count=3\nTPName2=A\nTPSectorType2=x\n");
  EXPECT_EQ(r.end, ScanEnd::read_error);
  r = check("Count=5\nTPName4=A\nTPWidth4=200\nTPWidth2=200\n");
  EXPECT_EQ(r.nl_nok, 1);
  EXPECT_EQ(table[1].check_key, "TPWidth|");
}

TEST_F(EvaluationTest, UnreadableNumbersEndTheScan) {
  rules("TPSectorType3=1\nK=1\n");
  struct Case {
    std::string plan, log;
    ScanEnd end;
    int nl;
  };
  const Case cases[] = {
      {"TPName3=C\nTPSectorType3=x\nK=2\n",
       "TPSectorType ???? x\nTPSectorType3 : *** INCOMPATIBLE DATA TYPES: x,1\n",
       ScanEnd::read_error, 2},
      {"TPName=C\nK=2\n", "TPName ???? TPName\n", ScanEnd::blank_as_end, 1},
      {"TPNameX=C\nK=2\n", "TPName ???? TPNameX\n", ScanEnd::read_error, 1},
      {"WZCount=\nK=2\n", "WZCount ???? WZCount\n", ScanEnd::blank_as_end, 1},
      {"WZCount=two\nK=2\n", "WZCount ???? WZCount\n", ScanEnd::read_error, 1},
      {"[WeatherZone]\nK=2\n", "WeatherZone # ???? [WeatherZone]\n", ScanEnd::blank_as_end, 1},
      {"[WeatherZoneA]\nK=2\n", "WeatherZone # ???? [WeatherZoneA]\n", ScanEnd::read_error, 1},
      {"TPName3=C\nTPPosZ3=\nK=2\n", "TPPosZ ????\n", ScanEnd::blank_as_end, 2},
      {"TPName3=C\nTPPosZ3=high\nK=2\n", "TPPosZ ???? high\n", ScanEnd::read_error, 2},
      // another turnpoint's line is reported and the scan goes on
      {"TPName2=C\nTPSectorType3=1\nTPPosZ=5\nK=2\n",
       "TPSectorType ???? TPSectorType3\nTPPosZ ???? TPPosZ\n"
       "K : 2                                  should be: = 1\n",
       ScanEnd::end_of_file, 4},
  };
  for (const Case& c : cases) {
    const PlanCheckResult r = check(c.plan);
    EXPECT_EQ(log(), c.log) << c.plan;
    EXPECT_EQ(r.end, c.end) << c.plan;
    EXPECT_EQ(r.nl, c.nl) << c.plan;
  }
}

TEST_F(EvaluationTest, PlanThatCannotBeReadIsAReadError) {
  rules("K=1\n");
  TextFile memory("/proc/self/mem");  // opens, but its address 0 does not read
  ASSERT_TRUE(memory.is_open());
  const PlanCheckResult r = check_plan(con, table, *lookup, s, carry, memory, 0, sink);
  EXPECT_EQ(r.end, ScanEnd::read_error);
  EXPECT_EQ(r.nl, 0);
}

// A line selected by a finish key, a wildcard, a plain key and a section-qualified key is reported
// rule by rule in the order of the rules file; a misplaced wildcard is said on every line.
TEST_F(EvaluationTest, ReportFollowsTheRulesOrderWhateverSelectsTheLine) {
  rules(
      "TPRadius|<=300\nTPRadius*<=450\nTP*Name=x\nTPRadius5<=400\n[Task]TPRadius5<=200\n"
      "TPRadius%<=100\n");
  const PlanCheckResult r = check("[Task]\nCount=6\nTPName5=F\nTPRadius5=900\n");
  EXPECT_EQ(r.nl_nok, 4);
  const std::string wrong = " incorrect wildcard TP*Name\n";
  EXPECT_EQ(out, wrong + wrong + wrong +
                     "TPRadius5 : 900                        should be: <= 300\n"
                     "TPRadius5 : 900                        should be: <= 450\n" +
                     wrong +
                     "TPRadius5 : 900                        should be: <= 400\n"
                     "TPRadius5 : 900                        should be: <= 200\n");
}

// A line's value is typed once for all the rules that apply to it, except "today": each use
// writes the day serial.
TEST_F(EvaluationTest, TodayIsTypedAtEachUse) {
  rules("TaskDate>=today\nTaskDate<=today\n");
  EXPECT_EQ(check("TaskDate=TODAY\n").nl_nok, 0);
  const platform::LocalTime now = platform::local_time();
  const std::string serial = " " + std::to_string(day_serial(now.year, now.month, now.day)) + "\n";
  EXPECT_EQ(out, serial + serial);
}

TEST_F(EvaluationTest, SectionQualifiedKeys) {
  rules("[Task]Count>=4\n");
  const PlanCheckResult r =
      check("Count=3\n[Task]\nCount=3\n[WeatherZone0]\nCount=3\n[Task]  \nCount=5\n");
  EXPECT_EQ(r.nl_nok, 1);
  EXPECT_EQ(log(), "Count : 3                              should be: >= 4\n");
}

TEST_F(EvaluationTest, MissingKeysOnRequest) {
  rules(
      "AllowPDA=0\n[Task]Count>=4\nTPRadius$>=500\nTPRadius%>=600\nTPWidth|>=300\n"
      "Penalty*>=0\nTP*Name=x\nTPHeight2<=1000AGL\nCloud<=BASE+100\n");
  const std::string plan =
      "[Task]\nCount=6\nTPName2=B\nTPRadius2=500\nTPName4=D\nTPRadius4=600\nCloud=1\n";
  EXPECT_EQ(check(plan).nl_nok, 0);  // only on request
  s.qmissing = true;
  PlanCheckResult r = check(plan, 1000);
  EXPECT_EQ(r.nl_nok, 4);
  // Each turnpoint of a wildcard's range on its own, the finish by its number; a "*" family
  // may be empty, a misplaced wildcard selects nothing.
  EXPECT_EQ(log(),
            "AllowPDA : missing                     should be: = 0\n"
            "TPRadius3 : missing                    should be: >= 500\n"
            "TPWidth5 : missing                     should be: >= 300\n"
            "TPHeight2 : missing                    should be: <= 1000AGL\n");
  EXPECT_EQ(popup().substr(0, 38), "\n-AllowPDA : missing, should be: = 0\n-");
  // Without a Count no turnpoint key can be missing; a qualified key names its section.
  s.language = Language::french;
  r = check("[Task]\nTPName2=B\n", 1000);
  EXPECT_EQ(r.nl_nok, 5);
  EXPECT_EQ(log(),
            "Count : missing                        *** point d'arriv\xE9"
            "e inconnu : r\xE8gles \"|\" non v\xE9rifi\xE9"
            "es ***\n"
            "AllowPDA : manquante                   devrait \xEAtre : = 0\n"
            "[Task]Count : manquante                devrait \xEAtre : >= 4\n"
            "TPHeight2 : manquante                  devrait \xEAtre : <= 1000AGL\n"
            "Cloud : manquante                      devrait \xEAtre : <= BASE+100 (1100)\n");
}

TEST_F(EvaluationTest, FileWithoutAFlightPlanLine) {
  rules("K=1\n");
  for (const char* text : {"", "From: a pilot\nSubject: Day 2\n\nK=1\n", "\r\n\r\n"}) {
    dir.write("Brevanto.log", "");
    TextFile file(dir.write("plan.fpl", text));
    const PlanCheckResult r = check_plan(con, table, *lookup, s, carry, file, 0, sink);
    EXPECT_TRUE(r.not_a_plan) << text;
    EXPECT_EQ(r.nl_nok, 1) << text;
    EXPECT_EQ(log(), "*** not a flight plan: no flight-plan line found ***\n") << text;
  }
  EXPECT_FALSE(check("Landscape=Alps\n").not_a_plan);
}

TEST_F(EvaluationTest, TurnpointGroundAndZoneCountCarryToTheNextPlan) {
  rules("TPHeight2<=1000AGL\nThermalsStrength>3\n");
  const std::string later =
      "TPName2=B\nTPSectorType2=0\nTPHeight2=1400\n[WeatherZone1]\n"
      "ThermalsStrength=2\n";
  check(later);  // first plan of the run: ground 0, no zone count
  EXPECT_EQ(log(),
            "TPHeight2 : 1400                       should be: <= 1000AGL (1000.0)\n"
            "ThermalsStrength : 2                   should be: > 3\n");
  check("TPName2=B\nTPPosZ2=450\nWZCount=3\n");
  check(later);
  EXPECT_EQ(log(), "ThermalsStrength[1] : 2                should be: > 3\n");
}

TEST_F(EvaluationTest, LongPlanValuesAndLines) {
  rules("PlaneName=LS8\n");
  const std::string name(150, 'n');  // beyond the 132 characters of a line
  const PlanCheckResult r = check("PlaneName=" + name + "\n");
  EXPECT_EQ(log(), "PlaneName : " + std::string(80, 'n') + " should be: = LS8\n");
  EXPECT_EQ(r.nl_nok, 1);
}

TEST_F(EvaluationTest, FindingsAndAppliedRulesGoToTheSink) {
  s.qoklines = true;
  rules(
      "TPHeight1<=1000AGL\nWindSpeed<15\nTPRadius|<=2000\nTPRaduis*>=500\nWater=0\n"
      "TPHeight2<=BASE\n");
  const PlanCheckResult r = check(
      "Count=3\nTPName1=Start\nTPPosZ1=450\nTPSectorType1=0\nTPHeight1=1500\nTPName2=Finish\n"
      "TPRadius2=3000\nTPHeight2=2000\nPZCount=0\nWZCount=2\n[WeatherZone1]\nWindSpeed=12\n"
      "[Plane]\nWater=none\n",
      1700);
  std::vector<std::string> found;
  const char* verdicts[] = {"violation", "incompatible", "ok"};
  for (const Finding& f : sink.findings) {
    found.push_back(std::to_string(f.line) + "|" + f.key + "|" + f.value + "|" + f.relation + "|" +
                    expected_text(f) + "|" + verdicts[static_cast<int>(f.verdict)] + "|" +
                    std::to_string(f.turnpoint) + "|" + std::to_string(f.weather_zone) + "|" +
                    report_line(f, s.language));
  }
  EXPECT_EQ(found, (std::vector<std::string>{
                       "5|TPHeight1|1500|<=|1000AGL (1450.0)|violation|1|-1|TPHeight1 : 1500    "
                       "                   should be: <= 1000AGL (1450.0)",
                       "7|TPRadius2|3000|<=|2000|violation|2|-1|TPRadius2 : 3000                 "
                       "      should be: <= 2000",
                       "8|TPHeight2|2000|<=|BASE+0 (1700)|violation|2|-1|TPHeight2 : 2000       "
                       "                should be: <= BASE+0 (1700)",
                       "12|WindSpeed|12|<|15|ok|-1|1|WindSpeed : OK",
                       "14|Water|none|=|0|incompatible|-1|-1|Water : *** INCOMPATIBLE DATA TYPES: "
                       "none,0"}));
  EXPECT_EQ(r.nl_nok, 4);
  // The misspelled key matched nothing; the finish rule matched through its turnpoint number.
  EXPECT_EQ(sink.applied, (std::set<int>{1, 2, 3, 5, 6}));
}

}  // namespace
}  // namespace brevanto
