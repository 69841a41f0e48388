// Start-up of a run: the message language, the report log, the version, the settings file,
// the default rules file, the command line and the console window.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "GetFilename.hpp"
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

// The file dialog the rules file is chosen in: GetFileName, or a stand-in.
using FileDialog = std::function<std::optional<std::string>(
    Console& con, std::string_view title, std::string_view path, std::string_view filter,
    std::string_view desc, bool multi)>;

// Chooses the rules file: s.deffil as it is, or, when s.qask is set, the file picked in `dialog`
// (s.deffil unchanged when it is cancelled). Writes the default and the dialog's answer on the
// console.
void choose_rules_file(Console& con, RunSettings& s, const FileDialog& dialog = GetFileName);

}  // namespace brevanto
