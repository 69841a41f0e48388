// The check of a run's plans, from the first plan's block of the report to the run's totals: the
// whole check without the operating system. It opens no file itself, writes no console but the
// one it is given, shows no box and reads no registry: the plans' bytes come from a PlanSource,
// the report and the findings go to a ReportSink. The console program and the web page are
// shells around it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "check_options.hpp"
#include "console.hpp"
#include "report_sink.hpp"
#include "rules_file.hpp"
#include "text_file.hpp"

namespace brevanto {

// Where the plans come from.
class PlanSource {
 public:
  PlanSource() = default;
  PlanSource(const PlanSource&) = delete;
  PlanSource& operator=(const PlanSource&) = delete;
  virtual ~PlanSource() = default;

  // Opens the plan `path` into `plan`, for reading from its first line; false when it cannot.
  virtual bool open_plan(const std::string& path, TextFile& plan) = 0;
  // The number of airspace blocks of a landscape, asked for when a version-3 plan is read whole
  // (for a BASE rule).
  virtual int airspace_count(const std::string& landscape) = 0;
};

// The run's files, by how each ended.
struct RunTotals {
  int clean = 0, invalid = 0, unreadable = 0, skipped = 0;

  void add(FileResult result);
  int files() const { return clean + invalid + unreadable + skipped; }
};

// The line that ends the report of a run: "<n> plans checked: <a> without error, ...".
std::string totals_line(const RunTotals& totals, Language language);

struct CheckRunResult {
  RunTotals totals;
  bool stopped = false;  // a plan could not be read, without options.qkeepgoing: the plans after
                         // it were not checked
};

// Checks `plans` in order against `table`, each in a block of the report: a file whose name has
// an extension other than "fpl" or "FPL" (after its first ".", in the last part of the path when
// options.slash_separates_folders) is skipped; a name without "." is read with ".fpl" added. A
// plan that cannot be opened or read ends the check there (its message in its block, then the
// totals and how many plans were not checked), unless options.qkeepgoing. The report ends with a
// line of dashes and the totals.
CheckRunResult check_plans(Console& trace, const ConstraintTable& table,
                           std::span<const PlanInput> plans, const CheckOptions& options,
                           PlanSource& source, ReportSink& sink);

}  // namespace brevanto
