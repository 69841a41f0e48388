// The report log on Windows: a file handle opened for appending and shared for reading and
// writing, so that an editor can show the log while the run goes on. The file holds CR LF line
// ends, as Windows programs expect.
#include <windows.h>

#include "platform.hpp"
#include "wide_win32.hpp"

namespace platform {
namespace {

HANDLE as_handle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

// The C library's code for the usual failures, so that both systems report them alike.
int error_code(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return 2;  // ENOENT
    case ERROR_ACCESS_DENIED:
      return 13;  // EACCES
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return 28;  // ENOSPC
    default:
      return error != 0 ? static_cast<int>(error) : 5;
  }
}

// Other programs may read and write the log while it is open.
HANDLE open_log(std::string_view path, DWORD disposition) {
  if (holds_nul(path)) {
    SetLastError(ERROR_INVALID_NAME);
    return INVALID_HANDLE_VALUE;
  }
  return CreateFileW(wide(path).c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int LogFile::open_as(std::string_view path, bool empty_it) {
  close();
  const HANDLE h = open_log(path, empty_it ? CREATE_ALWAYS : OPEN_ALWAYS);
  if (h == INVALID_HANDLE_VALUE) return error_code(GetLastError());
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return 0;
}

int LogFile::append(std::string_view text) {
  if (!is_open()) return 9;  // EBADF
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  std::string_view rest = bytes;
  while (!rest.empty()) {
    DWORD written = 0;
    if (!WriteFile(as_handle(handle_), rest.data(), static_cast<DWORD>(rest.size()), &written,
                   nullptr)) {
      return error_code(GetLastError());
    }
    if (written == 0) return 5;  // EIO
    rest.remove_prefix(written);
  }
  return 0;
}

void LogFile::close() {
  if (!is_open()) return;
  CloseHandle(as_handle(handle_));
  handle_ = kClosed;
}

}  // namespace platform
