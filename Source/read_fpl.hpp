// The flight-plan reader: fills the flight-plan model from one .fpl file (or from the plan lines
// of another file, written under the prefix "LSRXFPL").
#pragma once

#include "get_soarix_inst_dir.hpp"
#include "io.hpp"
#include "read_fpl_model.hpp"
#include "text_file.hpp"

namespace brevanto {

// Resets the model, then reads `plan` (opened by the caller) from its current position to its
// end, to a "LSRXFlightInfo" line, or to the end of a "Text" description block, and closes it;
// finally computes the legs. Diagnostic lines go to the console whatever `qverb` says; `qverb`
// adds the version and number-of-legs lines. For a version-3 plan the landscape's airspace file
// in the simulator's folder gives the airspace count.
//
// `nl` receives the number of plan lines processed (non-blank lines, headers included). `ios`
// receives the status of the last read: -1 when the file ended, 0 when a "LSRXFlightInfo" line
// or the blank line after a description ended the reading, positive when a read failed (the
// lines read until then stay in the model; nothing is shown).
//
// A plan with more than 31 turnpoints ("Count" in [Task]) is shown as an error (French when
// `qfr`) and stops the program: throws ProgramStop{1}.
void read_fpl(Io& io, inst00& inst, FlightPlan& fpl, TextFile& plan, bool qverb, bool qfr, int& nl,
              int& ios);

}  // namespace brevanto
