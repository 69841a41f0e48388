#include "HideConsole.hpp"

#include <string>

#include "platform.hpp"

namespace brevanto {

void HideConsole(Console& con) {
  const int count = platform::console_process_count();
  con.note("nb proc " + std::to_string(count));
  if (count > 1) {
    con.note("I'm not the last one!");
  } else {
    con.note("I'm the last one!");
    con.flush();  // what was written so far stays readable in the hidden window's buffer
    platform::hide_console_window();
  }
}

}  // namespace brevanto
