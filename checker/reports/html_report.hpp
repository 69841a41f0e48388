// The HTML report of a run: one self-contained page (no script, font or picture from elsewhere,
// so that it opens from a USB stick) with the rules (folded), the run's totals and a table of the
// plans, then for each plan its facts, its findings and the map of its task with a legend. It
// prints each plan on a page of its own and fits a phone's screen.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "findings.hpp"
#include "language.hpp"
#include "report_output.hpp"
#include "rules_file.hpp"
#include "task_map.hpp"

namespace brevanto {

// A rule as the page lists it: its line in the rules file, and the line as written.
struct RuleLine {
  long long line = 0;
  std::string text;
};

// What the page says about the run as a whole.
struct HtmlReportHead {
  Language language = Language::english;  // the language of its texts
  std::string rules_file;                 // the rules file, as the run names it
  int rules = 0;                          // its number of rules
  std::string date;                       // when the run was made
  std::string totals;                     // the run's totals line, as the report log ends with it
  std::vector<RuleLine> rule_lines = {};  // the rules, for their list
};

// The head of a run checked against `table`, its rules listed; the totals come at the end.
HtmlReportHead html_report_head(Language language, std::string rules_file,
                                const ConstraintTable& table, std::string date);

// How the page gets a plan's task for its map, the plan told by the path the run opened: the
// console program reads the plan's file again (plan_file_for_map), the web page its bytes. The
// reading is apart from the check.
using MapReader = std::function<PlanForMap(const std::string& path)>;

// The page, made plan by plan as the run goes. Each plan's section is written to `sections` as
// the plan ends; what comes before the sections (the head, with the table of plans) and after
// them is written once every plan has ended. The sections then follow the start in the page:
//   write_start(page); <the bytes written to sections>; write_end(page);
// All in UTF-8. A plan shows at most kPageFindings findings, and each mark of its map at most
// MapMarks::kTooltipLines, then how many more the log holds: the memory a plan takes is bounded.
class HtmlReport {
 public:
  static constexpr std::size_t kPageFindings = 200;

  HtmlReport(HtmlReportHead head, ReportOutput& sections, MapReader read_map);

  // A plan's findings follow; `path` is the file the run opened, `shown` its name in the report.
  void plan_begun(std::string path, std::string shown);
  void finding(const Finding& finding);
  // The plan's section: its result, facts, findings and map (a skipped file is never read).
  void plan_ended(PlanOutcome outcome, long long violations);
  // The run's totals line, once known.
  void set_totals(std::string totals) { head_.totals = std::move(totals); }

  void write_start(ReportOutput& page) const;
  void write_end(ReportOutput& page) const;

 private:
  struct PlanRow {
    std::string shown;
    PlanOutcome outcome = PlanOutcome::unreadable;
    long long violations = 0;
  };

  HtmlReportHead head_;
  ReportOutput& sections_;
  MapReader read_map_;
  std::vector<PlanRow> plans_;
  // The plan being checked.
  std::string path_;
  std::string rows_;            // its findings' rows, the first kPageFindings
  std::size_t rows_shown_ = 0;  // their number
  long long rows_more_ = 0;     // the findings past them
  MapMarks marks_;
};

// The whole page of a record of findings. Each plan is read again for its map through
// `read_map`, apart from the run; a plan whose task cannot be drawn gets a note in place of its
// map.
std::string html_report(const FindingsRecord& record, const HtmlReportHead& head,
                        const MapReader& read_map);

}  // namespace brevanto
