// Start-up of a run: the message language, the report log, the version, the settings file,
// the default rules file, the command line and the console window.
#pragma once

#include "log_message.hpp"
#include "settings.hpp"

namespace brevanto {

// Everything start-up does, in its order. `settings.args` holds the command line. Throws
// ProgramStop for "-help" (status 0) and for an unrecognised option (status 1).
void start_up(Journal& journal, RunSettings& settings);

// Applies the options of the command line to the settings and lists its flight plans in
// settings.plans. An option is an argument typed with a "-" first; every other argument is a
// plan, or, holding a pattern that matches files, the plans it stands for, whatever their names
// begin with.
void parse_command_line(Console& con, RunSettings& settings);

}  // namespace brevanto
