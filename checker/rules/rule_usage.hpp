// Rules that did nothing: on request, the rules that applied to no line of any checked plan are
// listed at the end of the run. (A rule that can do nothing is told as soon as the rules are
// read: rule_lint.)
#pragma once

#include <string_view>

#include "findings.hpp"
#include "language.hpp"
#include "report_sink.hpp"
#include "rules_file.hpp"

namespace brevanto {

// Writes to the report a line of dashes, the heading, then each rule of `table` that `applied`
// has not seen apply to a line, as "  N : <the rule line>", or "  none", in `language`.
void report_unused_rules(ReportSink& sink, const ConstraintTable& table,
                         const RulesApplied& applied, Language language);

}  // namespace brevanto
