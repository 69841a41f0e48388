// A message box that no window can show (no display, no desktop session), shared by the dialog
// files of this layer: the user still reads it on the console, and the run goes on as if the
// user had pressed Enter.
#pragma once

#include <string_view>

namespace platform {

// Writes "<title> [<icon>]" and the message, each ending a line, to standard error.
void write_console_box(const char* title, const char* message, const char* icon);

// The answer of a box nobody can click, with the return values of tinyfd_messageBox: its
// default button, within the buttons it has.
int default_answer(std::string_view type, int default_button);

}  // namespace platform
