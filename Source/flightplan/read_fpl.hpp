// The flight-plan reader: fills the flight-plan model from one .fpl file (or from the plan lines
// of another file, written under the prefix "LSRXFPL").
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "console.hpp"
#include "language.hpp"
#include "read_fpl_model.hpp"
#include "text_file.hpp"

namespace brevanto {

// How the reading of one plan ended.
struct FplReadState {
  long long nl = 0;  // plan lines processed (non-blank lines, headers included)
  int ios = 0;       // -1: the file ended; 0: a "LSRXFlightInfo" line or the blank line after a
                // description ended it; positive: a read failed (the lines before it stay read)
  bool too_many_turnpoints = false;  // "Count" in [Task] above 31: the reading stopped there,
                                     // the legs are not computed, and the run must stop
};

// The number of airspace blocks of a landscape, asked for at each version-3 "Landscape" line.
using AirspaceCount = std::function<int(const std::string& landscape)>;

// Resets the model, then reads `plan` (opened by the caller, who closes it or rewinds it to read
// it again) from its current position to its end, to a "LSRXFlightInfo" line, or to the end of a
// "Text" description block, or at once on too many turnpoints; finally computes the legs.
// Diagnostic lines go to the console whatever `qverb` says; `qverb` adds the version and
// number-of-legs lines. The airspace blocks of a version-3 plan's landscape are counted by
// `airspace_count`.
FplReadState read_fpl(Console& con, const AirspaceCount& airspace_count, FlightPlan& fpl,
                      TextFile& plan, bool qverb);

// The error a plan with too many turnpoints is shown with.
std::string_view too_many_turnpoints_message(Language language);

}  // namespace brevanto
