// Patterns of the command line on Windows, where cmd.exe and Explorer hand "*" and "?" to the
// program as typed.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform.hpp"

namespace platform {

std::vector<std::string> expand_wildcards(std::string_view argument) {
  const std::string as_typed(argument);
  const std::size_t cut = as_typed.find_last_of("\\/:");
  const std::string folder = cut == std::string::npos ? std::string() : as_typed.substr(0, cut + 1);
  const std::string pattern = as_typed.substr(folder.size());
  // Only the last part of a path may hold a pattern, as in every Windows program.
  if (holds_nul(argument) || pattern.find_first_of("*?") == std::string::npos ||
      folder.find_first_of("*?") != std::string::npos) {
    return {as_typed};
  }
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileExA(as_typed.c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return {as_typed};
  std::vector<std::string> names;
  do {
    // The system also matches the pattern against the short 8.3 names, so that "*.fpl" finds
    // "notes.fpl.bak" (NOTES~1.FPL): only the names themselves count.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        matches_pattern(found.cFileName, pattern)) {
      names.emplace_back(found.cFileName);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  if (names.empty()) return {as_typed};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return file_name_less(a, b); });
  for (std::string& name : names)
    name.insert(0, folder);
  return names;
}

}  // namespace platform
