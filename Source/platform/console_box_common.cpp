#include "console_box.hpp"

#include <string>

#include "platform.hpp"

namespace platform {

void write_console_box(const char* title, const char* message, const char* icon) {
  const std::string body = message == nullptr ? std::string() : std::string(message);
  std::string out = title == nullptr ? std::string() : std::string(title);
  out += " [";
  if (icon != nullptr) out += icon;
  out += "]\n" + body;
  if (body.empty() || body.back() != '\n') out += '\n';  // an empty message is an empty line
  write_stderr(out);
}

int unseen_answer(std::string_view type) {
  return type == "okcancel" || type == "yesno" || type == "yesnocancel" ? 0 : 1;
}

}  // namespace platform
