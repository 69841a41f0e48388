// Where the check of plans sends what it finds: the report's lines as the report log holds them,
// each finding, and the course of each plan. The console program writes them to the report log
// and the console, keeps them for its popups and outputs; the web page shows them. Diagnostic
// lines go to the Console the check is given.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "findings.hpp"

namespace brevanto {

// A plan to check, as named.
struct PlanInput {
  std::string path;   // as given: a path, or a file's name in the web page
  std::string shown;  // as the report shows it
};

// How a named file ended.
enum class FileResult { clean, invalid, unreadable, skipped };

// A named file's check, as its beginning and its end tell it.
struct PlanReport {
  std::string path;              // the file read (".fpl" added to a name without extension)
  std::string shown;             // as the report shows it, ".fpl" added too
  std::size_t shown_length = 0;  // the length of the name as given, which a popup counts
  // At its end:
  FileResult result = FileResult::clean;
  long long nl_nok = 0;              // its invalid lines
  bool not_a_plan = false;           // it held no line of the flight-plan format
  std::vector<std::string> problem;  // an unreadable plan's message, as the report's lines
  std::string problem_short;         // the same without the plan's name
};

// What became of a named file, as the outputs tell it.
inline PlanOutcome plan_outcome(const PlanReport& plan) {
  switch (plan.result) {
    case FileResult::skipped:
      return PlanOutcome::skipped;
    case FileResult::unreadable:
      return PlanOutcome::unreadable;
    case FileResult::clean:
    case FileResult::invalid:
      break;
  }
  return plan.not_a_plan ? PlanOutcome::not_a_plan : PlanOutcome::checked;
}

class ReportSink {
 public:
  ReportSink() = default;
  ReportSink(const ReportSink&) = delete;
  ReportSink& operator=(const ReportSink&) = delete;
  virtual ~ReportSink() = default;

  // Lines of the report, each as the report log holds it (a blank line is one blank), given
  // together when they go together. They are texts, never commands: a "/" is a "/".
  virtual void report_lines(std::initializer_list<std::string_view> lines) = 0;
  void report_line(std::string_view line) { report_lines({line}); }

  // A named file's check begins (for a file skipped for its name too, which then ends at once).
  virtual void plan_begun(const PlanReport& plan) { (void)plan; }
  // A finding of the plan being checked, after its report line.
  virtual void finding(const Finding& finding) { (void)finding; }
  // Rule `rule` was found to apply to a line.
  virtual void rule_applies(int rule) { (void)rule; }
  // A named file's check has ended, its result in the report.
  virtual void plan_ended(const PlanReport& plan) { (void)plan; }
};

}  // namespace brevanto
