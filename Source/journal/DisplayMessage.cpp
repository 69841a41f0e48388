#include "DisplayMessage.hpp"

#include <array>
#include <string>

#include "tinyfiledialogs.hpp"

namespace brevanto {

namespace {

struct BoxKind {
  const char* buttons;
  const char* icon;
};

// Indexed by severity code.
constexpr std::array<BoxKind, 6> kBoxes = {{{"ok", "info"},
                                            {"ok", "error"},
                                            {"ok", "warning"},
                                            {"yesno", "question"},
                                            {"okcancel", "question"},
                                            {"yesnocancel", "question"}}};

}  // namespace

void DisplayMessage(Console& con, std::string_view title, std::string_view message, int& status) {
  if (status < 0 || status >= static_cast<int>(kBoxes.size())) return;
  const BoxKind& kind = kBoxes[static_cast<std::size_t>(status)];
  con.flush();
  const int answer = tinyfd_messageBox(std::string(title).c_str(), std::string(message).c_str(),
                                       kind.buttons, kind.icon, 1);
  if (status >= 3) status = answer;
}

}  // namespace brevanto
