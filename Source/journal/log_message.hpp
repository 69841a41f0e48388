// The log journal: every report line goes to standard output and is appended to the journal
// file. The file stays open for the run and each message reaches it in one write, so that the
// file on disk is complete after every message and another program may read it meanwhile.
//
// Two ways in, kept apart so that a text from outside (a plan's path, a key, a value) can never
// act as anything but text: log_command() starts the journal in a file, log_line() writes a
// report line. In a line "/" starts a new line and "\/" stands for a literal "/" (paths and
// values are put into lines through escape_slashes()); nothing else in it is read.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "console.hpp"
#include "platform.hpp"

namespace brevanto {

struct Journal {
  Journal(Console& console, std::string program) : con(console), program_path(std::move(program)) {}
  Console& con;
  std::string program_path;   // argument 0: the default journal name derives from it
  std::string filnam;         // the journal file, set by CREATE; empty before
  platform::LogFile file;     // open from the first message to the end of the run
  bool write_failed = false;  // a write to the file failed: said once on standard error, and
                              // the file is written no more

  // Appends to the journal file, when there is one.
  void append(std::string_view text);
};

// "CREATE <name>" starts the journal in that file (replacing an old one); "CREATE" alone and
// "CREATE-SEND-NAME" start it under a default name made of the program's name and the date.
// Returns the journal file's name. A name holding a NUL byte is refused: no file is touched and
// the journal has no file, so later lines reach the console only.
std::string log_command(Journal& journal, std::string_view command);

// "2026-05-17 14:03:09": the date and time as the journal's first line gives them.
std::string date_time_text(const platform::LocalTime& t);

// The frame of a line written by the program about itself.
enum class Banner { none, warning, info, error };

// Writes a report line to the console and the journal, framed by `banner`'s lines. Line feeds
// count as "/"; a blank text is one line holding a blank.
void log_line(Journal& journal, std::string_view text, Banner banner = Banner::none);

// Writes report lines as log_line() writes each (without banner), all in one write to the
// journal file: the lines that always go together.
void log_lines(Journal& journal, std::initializer_list<std::string_view> texts);

// Writes lines of text as they are, all in one write to the journal file: a "/" in them is a
// "/", never a new line; a blank text is one line holding a blank.
void log_text_lines(Journal& journal, std::initializer_list<std::string_view> texts);

// The journal's original interface, for the program's own fixed texts only (never hand it a text
// that holds outside data): "CREATE..." goes to log_command(), a leading "{W}", "{I}" or "{E}"
// frames the rest with a banner, a text wholly in double quotes is one line without its quotes,
// and a message is cut at 1024 characters. The check run itself uses log_command() and
// log_line(); this is kept for completeness.
void log_message_f(Journal& journal, std::string& msg);

// Kept for completeness: the program does not call it.
// log_message_f for a NUL-terminated text of up to 1024 characters.
void log_message(Journal& journal, const char* msg);

// Each line feed replaced by "/": the text on one line.
void make_printable(std::string& str);

// The file name part of a path: what follows its last "\" (or "/" where it separates folders).
std::string extract_name(std::string_view path);

}  // namespace brevanto
