// File-system services on POSIX systems.
#include <sys/stat.h>

#include <string>

#include "platform/platform.hpp"

namespace platform {

std::string native_path(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

bool file_exists(std::string_view path) {
  struct stat st {};
  return ::stat(native_path(path).c_str(), &st) == 0;
}

std::optional<std::int64_t> modification_time(std::string_view path) {
  struct stat st {};
  if (::stat(native_path(path).c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtime);
}

}  // namespace platform
