// A message box that no window can show (no display, no desktop session), shared by the dialog
// files of this layer: the user still reads it on the console. A message is taken as read; a
// question nobody saw is answered No (or Cancel), on every system: nobody agreed to anything.
#pragma once

#include <string_view>

namespace platform {

// Writes "<title> [<icon>]" and the message, each ending a line, to standard error.
void write_console_box(const char* title, const char* message, const char* icon);

// The answer of a box nobody could see, with the return values of tinyfd_messageBox: 1 for an
// "ok" box, 0 (No, Cancel) for a question.
int unseen_answer(std::string_view type);

}  // namespace platform
