// The check of a run's plans without the operating system: rules and plans handed as bytes, the
// report taken from the sink.
#include "check_plans.hpp"

#include <gtest/gtest.h>

#include <map>

#include "temp_dir.hpp"

namespace brevanto {
namespace {

// The report as the log holds it, each line ended by a line feed.
class ReportText : public ReportSink {
 public:
  void report_lines(std::initializer_list<std::string_view> lines) override {
    for (const std::string_view line : lines)
      text.append(line).append("\n");
  }
  void plan_ended(const PlanReport& plan) override { results.push_back(plan.result); }
  std::string text;
  std::vector<FileResult> results;
};

// Plans held in memory, by name.
class PlansInMemory : public PlanSource {
 public:
  bool open_plan(const std::string& path, TextFile& plan) override {
    const auto found = plans.find(path);
    if (found == plans.end()) return false;
    plan.open_bytes(found->second, TextFile::Decoding::detect_utf8);
    return true;
  }
  int airspace_count(const std::string&) override { return 6; }
  std::map<std::string, std::string> plans;
};

const std::string kExample = std::string(BREVANTO_TEST_DATA) + "/../../examples/";

TEST(CheckPlans, TheExampleFromBytesGivesTheExamplesReport) {
  std::string trace;
  Console con(trace);
  CheckOptions options;
  ReportText rules_lines;
  const std::string rules = fixtures::read_file(kExample + "DEFAULT_CHECK.fpl");
  TextFile rules_file;
  rules_file.open_bytes(rules, TextFile::Decoding::detect_utf8);
  ConstraintTable table;
  ASSERT_FALSE(read_rules(con, rules_file, "DEFAULT_CHECK.fpl", options, table, rules_lines));

  PlansInMemory source;
  std::vector<PlanInput> plans;
  const std::string folder = "wine-prefix/drive_c/users/organiser/Documents/Soarix3/FlightPlans/";
  for (const char* name :
       {"Day1_Sisteron_Digne.fpl", "Day2_Digne_Seyne.fpl", "Day3_Ventoux.fpl", "Day4_Ubaye.fpl"}) {
    source.plans[folder + name] = fixtures::read_file(kExample + folder + name);
    plans.push_back(PlanInput{folder + name, folder + name});
  }
  ReportText report;
  const CheckRunResult result = check_plans(con, table, plans, options, source, report);

  // The log after its head: the installation's line and the rules' count.
  const std::string log =
      fixtures::read_file(std::string(BREVANTO_TEST_DATA) + "/example_report.txt");
  const std::size_t first_plan = log.find(std::string(78, '-'));
  EXPECT_EQ(rules_lines.text + report.text, log.substr(log.find('\n') + 1));
  EXPECT_EQ(report.text, log.substr(first_plan));
  EXPECT_FALSE(result.stopped);
  EXPECT_EQ(result.totals.files(), 4);
  EXPECT_EQ(report.results, (std::vector<FileResult>{FileResult::clean, FileResult::invalid,
                                                     FileResult::invalid, FileResult::clean}));
}

TEST(CheckPlans, APlanThatCannotBeOpenedStopsTheCheckUnlessItGoesOn) {
  std::string trace;
  Console con(trace);
  CheckOptions options;
  ReportText ignored;
  const std::string rules = "Water=0\n";
  TextFile rules_file;
  rules_file.open_bytes(rules);
  ConstraintTable table;
  ASSERT_FALSE(read_rules(con, rules_file, "rules", options, table, ignored));
  PlansInMemory source;
  source.plans["a.fpl"] = "[Plane]\nWater=0\n";
  const std::vector<PlanInput> plans = {
      {"a.fpl", "a.fpl"}, {"gone.fpl", "gone.fpl"}, {"notes.txt", "notes.txt"}, {"a", "a"}};
  ReportText stopped;
  CheckRunResult r = check_plans(con, table, plans, options, source, stopped);
  EXPECT_TRUE(r.stopped);
  EXPECT_TRUE(stopped.text.ends_with(
      "gone.fpl\ncannot be opened\n \n" + std::string(78, '-') +
      "\n2 plans checked: 1 without error, 0 with invalid lines, 1 unreadable, 0 skipped\n"
      "*** run stopped: 2 of the named plans not checked ***\n"));
  options.qkeepgoing = true;
  ReportText going;
  r = check_plans(con, table, plans, options, source, going);
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(going.results, (std::vector<FileResult>{FileResult::clean, FileResult::unreadable,
                                                    FileResult::skipped, FileResult::clean}));
  EXPECT_TRUE(going.text.ends_with(
      "\n4 plans checked: 2 without error, 0 with invalid lines, 1 unreadable, 1 skipped\n"));
}

}  // namespace
}  // namespace brevanto
