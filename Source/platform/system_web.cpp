// The browser, as the web page's system: no file system, no console, no registry. The page hands
// the check the bytes of the files a person chose, so only what the check itself asks of a
// system is here; a part of the program that asked for more would not link.
#include <cerrno>
#include <ctime>

#include "platform.hpp"

namespace platform {

// The page names a plan by its file's name, or by the folders below the one a person chose
// ("Round 2/Day1.fpl"): "/" separates them.
bool slash_is_separator() {
  return true;
}

// The browser's clock and time zone: "today" in a rule is the pilot's day, as it is the
// organiser's on the organiser's machine.
LocalTime local_time() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  ::localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// Names reach the check already in Windows-1252, each letter it lacks as "?".
std::string path_for_display(std::string_view path) {
  return std::string(path);
}

// There are no files to open by name: every plan and rules file comes as bytes.
std::FILE* open_regular_file(std::string_view path, int& error) {
  (void)path;
  error = ENOENT;
  return nullptr;
}

}  // namespace platform
