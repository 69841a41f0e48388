// Program, console and clock services on POSIX systems.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "chars.hpp"
#include "encoding.hpp"
#include "platform.hpp"

namespace platform {
namespace {

// The first of the variables that is set and not empty, as the C library picks a locale.
std::string locale_setting(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

bool console_is_utf8() {
  std::string loc = locale_setting({"LC_ALL", "LC_CTYPE", "LANG"});
  for (char& c : loc)
    c = ascii_lower(c);
  return loc.find("utf-8") != std::string::npos || loc.find("utf8") != std::string::npos;
}

void write_all(int fd, std::string_view text) {
  std::string converted;
  if (console_is_utf8()) {
    converted = cp1252_to_utf8(text);
    text = converted;
  }
  while (!text.empty()) {
    const ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return;  // a closed console loses the text; the run goes on
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
}

}  // namespace

std::vector<std::string> command_line(int argc, char** argv) {
  return {argv, argv + argc};
}

std::string executable_path() {
  std::string buf(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
  if (n <= 0 || static_cast<std::size_t>(n) >= buf.size()) return {};
  buf.resize(static_cast<std::size_t>(n));
  return buf;  // a native path: kept as the file system spells it
}

bool slash_is_separator() {
  return true;
}

std::uint16_t ui_language() {
  std::string loc = locale_setting({"LC_ALL", "LC_MESSAGES", "LANG"});
  loc = loc.substr(0, loc.find_first_of(".@"));
  if (loc != "fr" && loc.rfind("fr_", 0) != 0) return 0x0409;
  const std::string region = loc.size() > 3 ? loc.substr(3) : std::string();
  if (region == "BE") return 0x080C;
  if (region == "CA") return 0x0C0C;
  if (region == "CH") return 0x100C;
  if (region == "LU") return 0x140C;
  return 0x040C;
}

int console_process_count() {
  // A terminal is shared with the shell that started the program; a pipe or file is not.
  return (::isatty(STDIN_FILENO) != 0 || ::isatty(STDOUT_FILENO) != 0) ? 2 : 1;
}

void hide_console_window() {}

void write_stdout(std::string_view text) {
  write_all(STDOUT_FILENO, text);
}
void write_stderr(std::string_view text) {
  write_all(STDERR_FILENO, text);
}
void flush_stdout() {}

LocalTime local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace platform
