// What a routine that talks to the user is given: the console, the log journal, and the
// message settings of the run (record cmndta001: the language and the line mode).
#pragma once

#include <string>

#include "To_GUI.hpp"
#include "console.hpp"
#include "language.hpp"
#include "log_message.hpp"

namespace brevanto {

struct cmndta001 {
  Language language = Language::english;  // of the messages; -en and -fr choose it
  std::string app_name{kRunTitle};        // title of the check run's popups
};

struct Io {
  Console& con;
  Journal& journal;
  const cmndta001& cmn;
};

}  // namespace brevanto
