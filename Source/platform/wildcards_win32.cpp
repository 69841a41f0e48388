// Patterns of the command line on Windows, where cmd.exe and Explorer hand "*" and "?" to the
// program as typed.
#include <windows.h>

#include <algorithm>
#include <string>

#include "pattern_match.hpp"
#include "platform.hpp"
#include "wide_win32.hpp"

namespace platform {
namespace {

wchar_t upper(wchar_t c) {
  // CharUpperW changes one character held in the low word of its argument, and returns it there.
  const auto changed =
      reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c))));
  return static_cast<wchar_t>(changed & 0xFFFF);
}

// Whether a file's own name matches the pattern, letters without regard to case in every script.
bool name_matches(std::wstring_view name, std::wstring_view pattern) {
  return match_pattern(name, pattern, [](wchar_t a, wchar_t b) { return upper(a) == upper(b); });
}

}  // namespace

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
  // The names are asked for in UTF-16: each comes whole, whatever its script.
  const std::wstring wide_pattern = wide(pattern);
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(wide(as_typed).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return {as_typed};
  std::vector<std::string> names;
  do {
    // The system also matches the pattern against the short 8.3 names, so that "*.fpl" finds
    // "notes.fpl.bak" (NOTES~1.FPL): only the names themselves count.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        name_matches(found.cFileName, wide_pattern)) {
      names.push_back(from_wide(found.cFileName));
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
  if (names.empty()) return {as_typed};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return file_name_less(a, b); });
  for (std::string& name : names)
    name.insert(0, folder);
  return names;
}

}  // namespace platform
