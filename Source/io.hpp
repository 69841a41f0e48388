// What a routine that talks to the user is given: the console, the log journal, and the
// message settings of the run (record cmndta001: the language and the line mode).
#pragma once

#include <string>

#include "console.hpp"
#include "log_message.hpp"

namespace brevanto {

struct cmndta001 {
  bool qfr = false;                   // messages in French
  bool qline = false;                 // messages to the console instead of message boxes
  std::string app_name = "Vantobre";  // title of the program's own error boxes
};

struct Io {
  Console& con;
  Journal& journal;
  const cmndta001& cmn;
};

}  // namespace brevanto
