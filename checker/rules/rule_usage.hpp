// Rules that do nothing. A rule whose key no flight-plan key can ever equal is told as soon as the
// rules are read; on request, the rules that applied to no line of any checked plan are listed
// at the end of the run.
#pragma once

#include <string_view>

#include "findings.hpp"
#include "language.hpp"
#include "report_sink.hpp"
#include "rules_file.hpp"

namespace brevanto {

// Whether no line of any flight plan can ever be selected by the rule key `check_key` (as read,
// a final "|" included). Judged conservatively, on three grounds only: the key holds "=" after
// its section prefix (a plan line is split at its first "=", so no plan key holds one), nothing
// follows the section prefix, or the key has a wildcard that the matcher refuses.
bool key_can_never_match(std::string_view check_key);

// Writes to the report, for each rule of `table` whose key can never match,
// "*** rule N : <the rule line> : its key can never match a flight-plan key ***" in `language`.
void report_useless_rules(ReportSink& sink, const ConstraintTable& table, Language language);

// Writes to the report a line of dashes, the heading, then each rule of `table` that `applied`
// has not seen apply to a line, as "  N : <the rule line>", or "  none", in `language`.
void report_unused_rules(ReportSink& sink, const ConstraintTable& table,
                         const RulesApplied& applied, Language language);

}  // namespace brevanto
