// The check as the web page runs it: the rules file and the plans a person chose in the browser,
// handed as names and bytes, checked by the same check as the console program's, and the outputs
// made of what it found. No file is opened by name, nothing is shown and nothing is sent: the
// page shows and saves what comes back.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check_options.hpp"
#include "check_plans.hpp"
#include "findings.hpp"
#include "html_report.hpp"

namespace brevanto {

// What a check in the page gave.
struct WebReport {
  // The report as the console program's report log holds it after its installation line: the
  // rules' lines, a block per plan, the totals and, on request, the rules that matched nothing.
  // Windows-1252, each line ended by a line feed.
  std::string report;
  // The rules file cannot be used (no rule, or too many): its message, lines ended by a line
  // feed; the report is then empty and no plan was checked.
  std::optional<std::string> rules_fault;
  RunTotals totals;
  std::string totals_line;  // the report's line of the totals
  bool stopped = false;     // a plan could not be read: the plans after it were not checked
};

class WebCheck {
 public:
  // The rules file, its name as the browser gives it (UTF-8). Until one is given the rules are
  // empty, which the check refuses as a rules file without rules.
  void set_rules(std::string_view name, std::string bytes);
  // A plan, its name as the browser gives it (UTF-8; the folders below the chosen one separated
  // by "/"). Names are kept in Windows-1252, each letter it lacks as "?", as the report shows
  // them.
  void add_plan(std::string_view name, std::string bytes);
  void clear_plans();

  // Checks the plans, in the order Explorer lists their names, against the rules. `qunused`
  // lists the rules that matched no line of any checked plan, as the console program's
  // "-unused". The findings are kept for csv() and html() until the next check.
  WebReport check(const CheckOptions& options, bool qunused);

  // The findings of the last check as the console program's "-csv" file.
  std::string csv() const;
  // The last check as the console program's "-html" page, `date` the time it names, each plan
  // read again from its bytes for its map.
  std::string html(std::string_view date) const;

 private:
  struct File {
    std::string name;  // Windows-1252
    std::string bytes;
  };

  File rules_;
  std::vector<File> plans_;
  // Of the last check:
  FindingsRecord record_;
  HtmlReportHead head_;  // its language, rules and totals; the date and name come with html()
};

}  // namespace brevanto
