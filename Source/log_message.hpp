// The log journal: every report line goes to standard output and is appended to the journal
// file, which is reopened, written, flushed and closed for each message so that the file on disk
// is always complete.
//
// In a message "/" starts a new line and "\/" stands for a literal "/" (paths are put into
// messages through escape_slashes()). Messages beginning with "{W}", "{I}" or "{E}" are framed
// by WARNING, INFO or ERROR banners. A message in double quotes is written as one line.
#pragma once

#include <string>
#include <string_view>

#include "console.hpp"

namespace brevanto {

struct Journal {
  Journal(Console& console, std::string program) : con(console), program_path(std::move(program)) {}
  Console& con;
  std::string program_path;  // argument 0: the default journal name derives from it
  std::string filnam;        // the journal file, set by CREATE; empty before
};

// A message, or a command: "CREATE <name>" starts the journal in that file (replacing an old
// one), "CREATE" alone starts it under a default name made of the program's name and the date,
// and "CREATE-SEND-NAME" does the same and returns the name in `msg`.
void log_message_f(Journal& journal, std::string& msg);

// log_message_f for a NUL-terminated text of up to 1024 characters.
void log_message(Journal& journal, const char* msg);

// Each line feed replaced by "/": the text on one line.
void make_printable(std::string& str);

// The file name part of a path: what follows its last "\" (or "/" where it separates folders).
std::string extract_name(std::string_view path);

}  // namespace brevanto
