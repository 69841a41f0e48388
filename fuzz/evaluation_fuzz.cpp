// A plan checked against a fixed table that uses every relation, qualifier and wildcard, a
// section key, a list of alternatives and "today", with the verbose and "OK" lines.
#include "evaluation.hpp"
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

struct Fixture {
  Fixture() : con(out), journal(con, "Brevanto"), io{con, journal, s} {
    s.qverb = true;
    s.qoklines = true;
    s.deffil = scratch.write("rules.fpl", kRules);
    brevanto::fuzz::require(!brevanto::read_rules_file(io, s, table));
  }
  brevanto::fuzz::Scratch scratch;
  std::string out;
  brevanto::Console con;
  brevanto::Journal journal;
  brevanto::RunSettings s;
  brevanto::Io io;
  brevanto::ConstraintTable table;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static Fixture f;
  f.out.clear();
  TextFile plan(f.scratch.write("plan.fpl", fuzz::text(data, size)));
  PlanCarry carry;
  const PlanCheckResult r = check_plan(f.io, f.s, f.table, carry, plan, 1500.0f, 20);
  restore_finish_keys(f.con, true, f.table);
  fuzz::require(r.nl_nok >= 0 && r.msg00.size() <= kMsgLen);
  for (int i = 1; i <= f.table.check_num; ++i)
    fuzz::require(!f.table[i].check_mod && f.table[i].check_key == f.table[i].key_as_read);
  return 0;
}
