// A run of the checker, from start-up to the last flight plan.
#pragma once

#include <string>
#include <vector>

#include "console.hpp"

namespace brevanto {

// The whole program for a command line (argument 0 first). Ends normally after a completed
// run; throws ProgramStop to end early.
void run_program(Console& con, const std::vector<std::string>& args);

}  // namespace brevanto
