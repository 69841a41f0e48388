// The report log's and the popups' wording of a finding: its line in the plan's block of the log
// (the rule's requirement in column 40) and its line in a popup's list of violations.
#pragma once

#include <string>

#include "findings.hpp"
#include "language.hpp"

namespace brevanto {

// The rule's value as the report shows it: a BASE value as "BASE<offset> (<altitude>)", an AGL
// value followed by "AGL" and, at a line, the altitude it means there: "1500AGL (1812.0)".
std::string expected_text(const Finding& finding);

// The finding's line in the report log, in `language`. "should be: " stands in column 40, or
// after one blank when the key and value are longer; a key at a turnpoint of sector type 0 that is
// a width reads "TPWidth1 (Min Alt)", a key of a weather zone "WindSpeed[1]".
std::string report_line(const Finding& finding, Language language);

// The line that ends the block of a plan with invalid lines, in `language`: " 3 invalid lines",
// the count right-justified in two characters, and written whole from 100 on.
std::string invalid_lines_text(long long count, Language language);

// The finding's line in a popup's list of violations, in `language`: as the report line, but
// without the padding, with ", should be: " and without the minimum-altitude mark. Empty for a
// satisfied rule, which no popup lists.
std::string popup_line(const Finding& finding, Language language);

}  // namespace brevanto
