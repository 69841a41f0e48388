// Whole files on Windows: written to a temporary file beside the target, then moved over it
// with MoveFileExW, which replaces the target in one step; and whether two paths name one file.
#include <windows.h>

#include <string>

#include "platform.hpp"
#include "wide_win32.hpp"

namespace platform {
namespace {

int last_error() {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<int>(code) : static_cast<int>(ERROR_WRITE_FAULT);
}

int write_all(HANDLE handle, std::string_view bytes) {
  constexpr std::size_t kChunk = 1u << 30;
  while (!bytes.empty()) {
    const DWORD size = static_cast<DWORD>(bytes.size() < kChunk ? bytes.size() : kChunk);
    DWORD written = 0;
    if (!WriteFile(handle, bytes.data(), size, &written, nullptr)) return last_error();
    if (written == 0) return static_cast<int>(ERROR_WRITE_FAULT);
    bytes.remove_prefix(written);
  }
  return 0;
}

// The identity of an existing file or folder: its volume and its index on the volume.
bool file_identity(std::string_view path, BY_HANDLE_FILE_INFORMATION& info) {
  if (holds_nul(path)) return false;
  const HANDLE h =
      CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  return ok;
}

}  // namespace

bool same_file(std::string_view a, std::string_view b) {
  BY_HANDLE_FILE_INFORMATION ia;
  BY_HANDLE_FILE_INFORMATION ib;
  return file_identity(a, ia) && file_identity(b, ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

int write_whole_file(std::string_view path, std::string_view bytes) {
  if (path.empty() || holds_nul(path)) return static_cast<int>(ERROR_FILE_NOT_FOUND);
  const std::wstring target = wide(path);
  // A name of its own beside the target, created only when no file of that name exists.
  std::wstring temp;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (int attempt = 0; handle == INVALID_HANDLE_VALUE; ++attempt) {
    if (attempt == 100) return static_cast<int>(ERROR_FILE_EXISTS);
    temp =
        target + L".tmp" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt);
    handle = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      const DWORD code = GetLastError();
      if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) return static_cast<int>(code);
    }
  }
  int error = write_all(handle, bytes);
  if (error == 0 && !FlushFileBuffers(handle)) error = last_error();
  if (!CloseHandle(handle) && error == 0) error = last_error();
  if (error == 0 && !MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = last_error();
  }
  if (error != 0) DeleteFileW(temp.c_str());
  return error;
}

}  // namespace platform
