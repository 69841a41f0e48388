// Warnings about the rules of a rules file, told as soon as the rules are read: the slips an
// organiser makes that leave a rule useless or wrong without stopping the run (a relation written
// backwards, a time of day, a decimal comma, a misspelled key, a key that several sections of a
// plan hold). Each names the rule's line in the file and says how to mend it; none changes a
// verdict.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "language.hpp"
#include "report_sink.hpp"
#include "rules_file.hpp"

namespace brevanto {

// Whether no line of any flight plan can ever be selected by the rule key `check_key` (as read,
// a final "|" included). Judged conservatively, on three grounds only: the key holds "=" after
// its section prefix (a plan line is split at its first "=", so no plan key holds one), nothing
// follows the section prefix, or the key has a wildcard that the matcher refuses.
bool key_can_never_match(std::string_view check_key);

// The flight-plan key nearest to `key`, a key that no plan holds, in the same form (its section,
// wildcard or number kept): "TPRaduis*" gives "TPRadius*". At most one edit (a letter added,
// dropped, changed, or two letters swapped) for a key of fewer than 6 letters, two for a longer
// one; of keys equally near, the first of flight_plan_keys(). Empty when none is that near.
std::string nearest_plan_key(std::string_view key);

// The warnings about rule `number` of the file, each a line
// "*** rule N (line L) : <the rule line> : <what is wrong, and the hint> ***" in `language`: a
// key that can never match or that no plan holds (with the nearest key), a relation written
// backwards, a key that several sections of a plan hold, a time of day or a decimal comma where
// a number is expected, AGL on a text.
std::vector<std::string> rule_warnings(int number, const Constraint& rule, Language language);

// Writes to the report the warnings about every rule of `table`, in the file's order.
void report_rule_warnings(ReportSink& sink, const ConstraintTable& table, Language language);

}  // namespace brevanto
