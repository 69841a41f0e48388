// A plan checked against a fixed table that uses every relation, qualifier and wildcard, a
// section key, a list of alternatives and "today", with the verbose and "OK" lines and the
// missing keys: the whole check of a run, as the console program and the web page make it.
#include "check_plans.hpp"
#include "finding_text.hpp"
#include "fixed_text.hpp"
#include "fuzz_support.hpp"

namespace {

constexpr std::string_view kRules =
    "Landscape[]Alps\nLandscape!=AlpsTest\n[Task]Count>=4\n[Task]Count<=8\n"
    "StartTime>=12.0\nStartTime<=14.5\nTaskDate<=today\nStartMinAlt>=1000\n"
    "StartMaxAlt<=2000AGL\nFinishMaxAlt<=BASE\nFinishMinAlt>=BASE-500\nTPRadius|<=3000\n"
    "TPRadius$>=500\nTPAngle%=360\nTPAltitude?<=2500AMSL\nTPPosZ*>100AGL\nTPWidth1=1000.0\n"
    "WindSpeed<15\nThermalsStrength>1\nThermalsInversionheight<=BASE+100\n"
    "Class=Club;Standard\nName=\"LS 4\";ASK21\nWater=0\nWater!=0.5\nPenalty*>=0\n"
    "Pressure=1013.25\nTPName$[]Start\n[Weather]WZCount<=3\nClass=x AGL\n";

// Every report line and finding, checked as they come: each finding words its line.
class Sink : public brevanto::ReportSink {
 public:
  void report_lines(std::initializer_list<std::string_view> lines) override {
    for (const std::string_view line : lines)
      brevanto::fuzz::require(line.find('\n') == std::string_view::npos);
  }
  void finding(const brevanto::Finding& f) override {
    using brevanto::Language;
    brevanto::fuzz::require(!brevanto::report_line(f, Language::english).empty() &&
                            !brevanto::report_line(f, Language::french).empty());
    if (f.verdict != brevanto::Verdict::ok) ++invalid;
  }
  void plan_ended(const brevanto::PlanReport& plan) override {
    if (plan.result == brevanto::FileResult::clean || plan.result == brevanto::FileResult::invalid)
      brevanto::fuzz::require(plan.nl_nok == invalid);
    invalid = 0;
  }
  int invalid = 0;
};

class Plans : public brevanto::PlanSource {
 public:
  explicit Plans(const brevanto::fuzz::Scratch& scratch) : scratch_(scratch) {}
  bool open_plan(const std::string& path, brevanto::TextFile& plan) override {
    return plan.open(scratch_.path(path), brevanto::TextFile::Decoding::detect_utf8);
  }
  int airspace_count(const std::string&) override { return 100; }

 private:
  const brevanto::fuzz::Scratch& scratch_;
};

struct Fixture {
  Fixture() : con(out), plans(scratch) {
    options.qverb = true;
    options.qoklines = true;
    options.qmissing = true;
    options.qkeepgoing = true;
    const std::string path = scratch.write("rules.fpl", kRules);
    brevanto::TextFile file(path);
    brevanto::fuzz::require(!brevanto::read_rules(con, file, path, options, table, sink));
  }
  brevanto::fuzz::Scratch scratch;
  std::string out;
  brevanto::Console con;
  brevanto::CheckOptions options;
  brevanto::ConstraintTable table;
  Sink sink;
  Plans plans;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static Fixture f;
  f.out.clear();
  f.scratch.write("plan.fpl", fuzz::text(data, size));
  const PlanInput plans[] = {{"plan.fpl", "plan.fpl"}, {"plan", "plan"}};
  const CheckRunResult r = check_plans(f.con, f.table, plans, f.options, f.plans, f.sink);
  fuzz::require(!r.stopped && r.totals.files() == 2);
  return 0;
}
