#include "To_GUI.hpp"

#include "DisplayMessage.hpp"
#include "fixed_text.hpp"

namespace brevanto {

namespace {
constexpr std::size_t kBoxMessageLen = 511;
constexpr std::size_t kBoxTitleLen = 63;
}  // namespace

void error_message_tit(Console& con, int& msg_status, std::string_view tit, std::string& msg,
                       bool to_console) {
  msg = slashes_to_lines(msg);
  if (to_console) {
    // A notice is a diagnostic line, which a quiet console drops; a warning or an error is not.
    const std::string line = " " + std::string(trim_right(msg));
    if (msg_status == s_info) {
      con.note(line);
    } else {
      con.line(line);
    }
    return;
  }
  const std::string message(trim_right(std::string_view(msg).substr(0, kBoxMessageLen)));
  const std::string title(trim_right(tit.substr(0, kBoxTitleLen)));
  DisplayMessage(con, title, message, msg_status);
}

void error_message(Console& con, int& msg_status, std::string& msg, bool to_console) {
  error_message_tit(con, msg_status, kDefaultTitle, msg, to_console);
}

}  // namespace brevanto
