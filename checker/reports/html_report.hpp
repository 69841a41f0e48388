// The HTML report of a run: one self-contained page (no script, font or picture from elsewhere,
// so that it opens from a USB stick) with a table of the plans and their invalid lines, then for
// each plan its findings and the map of its task.
#pragma once

#include <string>

#include <functional>

#include "findings.hpp"
#include "language.hpp"
#include "task_map.hpp"

namespace brevanto {

// What the page says about the run as a whole.
struct HtmlReportHead {
  Language language = Language::english;  // the language of its texts
  std::string rules_file;                 // the rules file, as the run names it
  int rules = 0;                          // its number of rules
  std::string date;                       // when the run was made
  std::string totals;                     // the run's totals line, as the report log ends with it
};

// How the page gets a plan's task for its map: the console program reads the plan's file again
// (with plan_for_map), the web page its bytes. The reading is apart from the check.
using MapReader = std::function<PlanForMap(const PlanFindings& plan)>;

// The whole page, in UTF-8. Each plan is read again for its map through `read_map`, apart from
// the run; a plan whose task cannot be drawn gets a note in place of its map.
std::string html_report(const FindingsRecord& record, const HtmlReportHead& head,
                        const MapReader& read_map);

}  // namespace brevanto
