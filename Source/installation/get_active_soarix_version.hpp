// The version the user works with when both major versions are installed.
#pragma once

#include "get_soarix_inst_dir.hpp"
#include "io.hpp"

namespace brevanto {

// Sets `soarix_version` and the active triple (sorxinstpath, sorxrootpath, sorxpilpath) of the
// record, looking for the installations first when none is known. With both versions installed
// the version of the newest file wins, among the pilots' FlightPlan.fpl and the simulators' logs
// (ties: version 3's plan, then version 2's plan, then version 3's log); version 2 when none of
// them exists. May be called again: the file dates of the moment decide.
void get_active_soarix_version(Io& io, inst00& inst);

}  // namespace brevanto
