// Messages to the user, in a message box or on the console. Every message box of the program goes
// through error_message_tit, except the error box of a dialog that chose nothing, which
// GetFilename shows itself. In a message "/" starts a new line and "\/" stands for a literal "/".
#pragma once

#include <string>
#include <string_view>

#include "console.hpp"

namespace brevanto {

// The titles of the program's message boxes.
inline constexpr std::string_view kRunTitle = "Vantobre";       // the check run's popups
inline constexpr std::string_view kDefaultTitle = "Varnek";     // error_message
inline constexpr std::string_view kDialogErrorTitle = "Error";  // a dialog that chose nothing
// An environment variable of the documents folder that is not defined.
inline constexpr std::string_view kUserPathTitle = "get_soarix_user_path";

// Severity of a message (`msg_status`): what the box shows and what it answers.
enum : int {
  s_info = 0,        // OK, information icon
  s_error = 1,       // OK, error icon
  s_warning = 2,     // OK, warning icon
  s_yesno = 3,       // Yes / No: answers 1 / 0
  s_okcancel = 4,    // OK / Cancel: answers 1 / 0
  s_yesnocancel = 5  // Yes / No / Cancel: answers 1 / 2 / 0
};

// Turns the line marks of `msg` into line feeds (in the caller's text), then writes it to the
// console when `to_console` is true (a message that is only said, never shown: a notice of
// severity s_info among the diagnostic lines, which a quiet console drops), or shows it in a
// box titled `tit` (message cut to 511 characters, title to 63). For the question severities
// `msg_status` receives the answer.
void error_message_tit(Console& con, int& msg_status, std::string_view tit, std::string& msg,
                       bool to_console);

// error_message_tit with the title kDefaultTitle ("Varnek").
void error_message(Console& con, int& msg_status, std::string& msg, bool to_console);

}  // namespace brevanto
