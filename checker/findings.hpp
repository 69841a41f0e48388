// What a run finds, kept for the outputs that come after the report: every finding of every plan
// (for the CSV export and the HTML report) and which rules applied to some line (for the list of
// rules that matched nothing). The report itself never depends on it.
#pragma once

#include <string>
#include <vector>

namespace brevanto {

enum class Verdict {
  violation,
  incompatible,
  ok,
  missing,         // the plan holds no line for the rule's key
  finish_unknown,  // the plan's Count does not read: its finish rules were not applied
};

// One pair of plan line and rule, as the report gives it. Texts in Windows-1252.
struct Finding {
  int line = 0;          // the plan line's number; -1 for a finding about no line
  std::string key;       // the line's key, without the report's decorations
  std::string value;     // the line's value
  std::string relation;  // the rule's relation
  std::string expected;  // the rule's value as the report shows it, with its AGL or BASE figure
  Verdict verdict = Verdict::violation;
  int turnpoint = -1;       // the turnpoint whose lines hold the line; -1 for none
  int weather_zone = -1;    // the weather zone whose section holds the line; -1 for none
  std::string report_line;  // the line the report shows for it ("key : OK" for a satisfied rule)
};

// A plan counts as checked only once its check has ended; until then, and for good when the run
// stops on it, it is a plan that could not be read. A file skipped for its name is never opened;
// a file read to its end without a single flight-plan line is no plan.
enum class PlanOutcome { checked, unreadable, skipped, not_a_plan };

struct PlanFindings {
  std::string path;   // the file the run opened
  std::string shown;  // the plan's name as the report shows it
  PlanOutcome outcome = PlanOutcome::unreadable;
  int violations = 0;  // a checked plan's count of invalid lines
  std::vector<Finding> findings;
};

// The record the run keeps, and hands to the check of each plan.
class FindingsRecord {
 public:
  // For a table of `rules` rules; `keep_findings` false keeps only which rules applied.
  FindingsRecord(int rules, bool keep_findings)
      : applied_(static_cast<std::size_t>(rules > 0 ? rules : 0) + 1, false),
        keep_findings_(keep_findings) {}

  // A plan's check starts, ends with its count of invalid lines (and whether the file held no
  // flight-plan line at all).
  void begin_plan(std::string path, std::string shown);
  void end_plan(int violations, bool not_a_plan = false);
  // A file that the run skipped for its name.
  void skipped_file(std::string path, std::string shown);

  // Rule `rule` (1-based, in the table's order) was found to apply to a line.
  void rule_applies(int rule);
  bool rule_applied(int rule) const;

  bool keeps_findings() const { return keep_findings_; }
  // Adds to the plan begun last (ignored when the record keeps no findings).
  void add(Finding finding);

  const std::vector<PlanFindings>& plans() const { return plans_; }

 private:
  std::vector<bool> applied_;
  bool keep_findings_;
  std::vector<PlanFindings> plans_;
};

}  // namespace brevanto
