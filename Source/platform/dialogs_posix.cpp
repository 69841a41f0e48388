// Dialogs on POSIX systems. Without a display, a message box is written to standard error and
// answered with its default button, and every other dialog answers as cancelled.
#include <string>
#include <string_view>

#include "platform/platform.hpp"
#include "platform/tinyfiledialogs.hpp"

int tinyfd_winUtf8 = 0;
int tinyfd_forceConsole = 0;

namespace {

std::string text_or_empty(const char* s) {
  return s == nullptr ? std::string() : std::string(s);
}

int console_message_box(const char* title, const char* message, const char* icon,
                        int default_button) {
  std::string out = text_or_empty(title) + " [" + text_or_empty(icon) + "]\n";
  const std::string body = text_or_empty(message);
  out += body;
  if (body.empty() || body.back() != '\n') out += '\n';
  platform::write_stderr(out);
  return default_button;
}

}  // namespace

extern "C" {

int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType,
                      const char* aIconType, int aDefaultButton) {
  const std::string type = text_or_empty(aDialogType);
  int answer = aDefaultButton;
  if (type == "ok") answer = 1;
  if (type != "yesnocancel" && answer == 2) answer = 0;
  return console_message_box(aTitle, aMessage, aIconType, answer);
}

const char* tinyfd_openFileDialog(const char*, const char*, int, const char* const*, const char*,
                                  int) {
  return nullptr;
}

const char* tinyfd_saveFileDialog(const char*, const char*, int, const char* const*, const char*) {
  return nullptr;
}

const char* tinyfd_selectFolderDialog(const char*, const char*) {
  return nullptr;
}

const char* tinyfd_inputBox(const char*, const char*, const char*) {
  return nullptr;
}
}
