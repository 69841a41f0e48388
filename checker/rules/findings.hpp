// What the check finds: one finding per pair of plan line and rule it reports on, and the few it
// reports about a plan itself. A finding holds what was found, not how it is worded: the report
// log, the popups, the CSV file and the HTML report each render it (finding_text.hpp renders the
// log's and the popups' lines). A record of every finding of every plan (FindingsRecord) serves
// where a run is small enough to be held whole, as in the web page.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brevanto {

enum class Verdict {
  violation,
  incompatible,    // a number against a text: the rule cannot be judged
  ok,              // a satisfied rule (reported on request)
  missing,         // the plan holds no line for the rule's key
  finish_unknown,  // the plan's Count does not read: its finish rules were not applied
  not_a_plan,      // the file holds no line of the flight-plan format
};

// One finding. Texts in Windows-1252.
struct Finding {
  long long line = -1;     // the plan line's number; -1 for a finding about no line
  std::string key;         // the line's key (a missing key: the rule's), without decoration
  std::string value;       // the line's value ("Count"'s as written for finish_unknown)
  std::string relation;    // the rule's relation
  std::string rule_value;  // the rule's value as written, without its qualifier
  Verdict verdict = Verdict::violation;
  int turnpoint = -1;     // the turnpoint whose lines hold the line, up to the end of the list
                          // of turnpoints (PZCount or a section header); a missing key: the
                          // turnpoint it names; -1 for none
  int weather_zone = -1;  // the weather zone whose section holds the line; -1 for none
  // The rule's value is an offset from the plan's cloud base: the altitude it means.
  std::optional<double> base_altitude;
  bool agl = false;  // the rule's value is a height above the turnpoint's ground...
  std::optional<double> agl_altitude;  // ...and this the altitude it means there (none when the
                                       // line is missing)
  bool sector_type_0 = false;  // the line is at a turnpoint of sector type 0, where a width is a
                               // minimum altitude and the popup names the key without its zone
  bool zone_shown = false;     // the report names the key with its zone, "WindSpeed[1]"
};

// A plan counts as checked only once its check has ended; until then, and for good when the run
// stops on it, it is a plan that could not be read. A file skipped for its name is never opened;
// a file read to its end without a single flight-plan line is no plan.
enum class PlanOutcome { checked, unreadable, skipped, not_a_plan };

struct PlanFindings {
  std::string path;   // the file the run opened
  std::string shown;  // the plan's name as the report shows it
  PlanOutcome outcome = PlanOutcome::unreadable;
  long long violations = 0;  // a checked plan's count of invalid lines
  std::vector<Finding> findings;
};

// The record the run keeps of every plan and its findings.
class FindingsRecord {
 public:
  // A named file's check starts, ends with its count of invalid lines and what became of it.
  void begin_plan(std::string path, std::string shown);
  void end_plan(long long violations, PlanOutcome outcome = PlanOutcome::checked);

  // Adds to the plan begun last.
  void add(Finding finding);

  const std::vector<PlanFindings>& plans() const { return plans_; }

 private:
  std::vector<PlanFindings> plans_;
};

// Which rules were found to apply to some line of some plan of the run, for the list of the
// rules that matched nothing.
class RulesApplied {
 public:
  explicit RulesApplied(int rules)
      : applied_(static_cast<std::size_t>(rules > 0 ? rules : 0) + 1, false) {}
  // Rule `rule` (1-based, in the table's order) was found to apply to a line.
  void rule_applies(int rule);
  bool rule_applied(int rule) const;

 private:
  std::vector<bool> applied_;
};

}  // namespace brevanto
