// The check of one flight plan against the constraint table: the plan is read line by line, each
// line's key is compared with every constraint's key, and each finding goes to the sink with its
// line of the report.
#pragma once

#include "check_options.hpp"
#include "console.hpp"
#include "report_sink.hpp"
#include "rule_index.hpp"
#include "rules_file.hpp"
#include "text_file.hpp"

namespace brevanto {

// What a plan leaves to the next one: the last turnpoint ground altitude and weather-zone count
// seen, used until the next plan gives its own. Owned by the run, 0 at its start.
struct PlanCarry {
  float tpposz = 0;
  int nb_wxz = 0;
};

// How the scan of a plan ended.
enum class ScanEnd {
  end_of_file,   // normal end
  blank_as_end,  // a turnpoint number, zone count or zone number was blank: a normal end too
  read_error,    // the file failed, or a number of an interpreted line did not read
};

struct PlanCheckResult {
  long long nl = 0;      // lines read by the scan (where it stopped, for a read error)
  long long nl_nok = 0;  // invalid lines: one per pair of plan line and constraint, and one for
                         // each finding about the plan itself
  ScanEnd end = ScanEnd::end_of_file;
  bool not_a_plan = false;  // the file holds no flight-plan line at all
};

// Checks the plan `plan` (open, at its first line) against `table`, through `lookup` (the run's,
// kept from plan to plan). `cloud_base` is the plan's cloud base (0 when no constraint is a BASE
// value). Each finding goes to `sink` after its report line, each rule found to apply to a line
// is told to it; diagnostic lines go to `trace` (more of them with options.qverb). Reported:
// every violation, every satisfied rule with options.qoklines, and with options.qmissing, after
// the plan's other lines, every rule whose key no line of the plan holds (for the turnpoint
// wildcards "$", "?" and "%", each turnpoint of their range on its own). A plan whose Count is
// missing or does not read is checked against every rule but the finish rules, and a finding
// says why they were not; a file read to its end without any line of the flight-plan format gets
// one finding saying it is no flight plan.
PlanCheckResult check_plan(Console& trace, const ConstraintTable& table, RuleLookup& lookup,
                           const CheckOptions& options, PlanCarry& carry, TextFile& plan,
                           float cloud_base, ReportSink& sink);

}  // namespace brevanto
