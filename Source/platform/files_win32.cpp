// File-system services on Windows.
#include <windows.h>

#include <string>

#include "platform/platform.hpp"

namespace platform {

std::string native_path(std::string_view path) {
  return std::string(path);
}

// Windows paths are the program's own Windows-1252 texts already.
std::string path_for_display(std::string_view path) {
  return std::string(path);
}

bool file_exists(std::string_view path) {
  return GetFileAttributesA(std::string(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::int64_t> modification_time(std::string_view path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(std::string(path).c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  ULARGE_INTEGER t;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  // FILETIME counts 100 ns steps from 1601-01-01; 11644473600 s separate 1601 from 1970.
  return static_cast<std::int64_t>(t.QuadPart / 10000000ULL) - 11644473600LL;
}

}  // namespace platform
