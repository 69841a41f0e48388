// File-system services on Windows.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "encoding.hpp"
#include "platform.hpp"
#include "wide_win32.hpp"

namespace platform {

std::string native_path(std::string_view path) {
  return std::string(path);
}

// Windows paths are the program's own Windows-1252 texts already, but for the escapes of
// the characters Windows-1252 cannot spell.
std::string path_for_display(std::string_view path) {
  return escapes_shown(path);
}

std::FILE* open_regular_file(std::string_view path, int& error) {
  if (holds_nul(path)) {
    error = ERROR_FILE_NOT_FOUND;
    return nullptr;
  }
  // Shared for writing too: the simulator may be writing its log while it is read.
  const HANDLE handle =
      CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    error = code != 0 ? static_cast<int>(code) : ERROR_FILE_NOT_FOUND;
    return nullptr;
  }
  // A pipe, a console or a printer is no disk file; a folder does not open here without
  // backup semantics, but is refused as well should it ever.
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    CloseHandle(handle);
    error = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    error = ERROR_TOO_MANY_OPEN_FILES;
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "rb");  // from here on, closing the file closes the handle
  if (file == nullptr) {
    _close(fd);
    error = ERROR_NOT_ENOUGH_MEMORY;
    return nullptr;
  }
  error = 0;
  return file;
}

bool file_exists(std::string_view path) {
  if (holds_nul(path)) return false;
  return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::int64_t> modification_time(std::string_view path) {
  if (holds_nul(path)) return std::nullopt;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  ULARGE_INTEGER t;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  // FILETIME counts 100 ns steps from 1601-01-01; 11644473600 s separate 1601 from 1970.
  return static_cast<std::int64_t>(t.QuadPart / 10000000ULL) - 11644473600LL;
}

}  // namespace platform
