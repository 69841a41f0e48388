// Whole files on Windows: written to a temporary file beside the target, then moved over it
// with MoveFileExW, which replaces the target in one step; scratch files deleted on close; and
// whether two paths name one file.
#include <windows.h>

#include <array>
#include <string>

#include "platform.hpp"
#include "wide_win32.hpp"

namespace platform {
namespace {

int last_error() {
  const DWORD code = GetLastError();
  return code != 0 ? static_cast<int>(code) : static_cast<int>(ERROR_WRITE_FAULT);
}

HANDLE as_handle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
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

// 0 when nothing or a file on a disk stands at the target, else the error that refuses it: a
// folder, a device ("NUL", "COM1"), a pipe.
int target_state(const std::wstring& target) {
  const HANDLE h =
      CreateFileW(target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    const DWORD code = GetLastError();
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? 0
                                                                        : static_cast<int>(code);
  }
  int refused = 0;
  BY_HANDLE_FILE_INFORMATION info;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    refused = static_cast<int>(ERROR_BAD_FILE_TYPE);
  } else if (GetFileInformationByHandle(h, &info) == 0) {
    refused = last_error();
  } else if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    refused = static_cast<int>(ERROR_DIRECTORY);
  }
  CloseHandle(h);
  return refused;
}

// The folder part of a path, its last separator included; empty for a name alone.
std::wstring folder_of(const std::wstring& path) {
  const std::size_t cut = path.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

// A new file of a short name of its own in `folder`, created only when no file of that name
// exists. INVALID_HANDLE_VALUE and `error` on failure.
HANDLE create_beside(const std::wstring& folder, std::wstring& name, DWORD access, DWORD flags,
                     int& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + L"~brevanto-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(attempt) + L".tmp";
    const HANDLE h = CreateFileW(name.c_str(), access, 0, nullptr, CREATE_NEW, flags, nullptr);
    if (h != INVALID_HANDLE_VALUE) return h;
    const DWORD code = GetLastError();
    if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
      error = static_cast<int>(code);
      return INVALID_HANDLE_VALUE;
    }
  }
  error = static_cast<int>(ERROR_FILE_EXISTS);
  return INVALID_HANDLE_VALUE;
}

// Whether the system deletes the file when its last handle closes, the program's end included.
bool delete_on_close(HANDLE h, bool on) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = on ? TRUE : FALSE;
  return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != 0;
}

}  // namespace

bool same_file(std::string_view a, std::string_view b) {
  BY_HANDLE_FILE_INFORMATION ia;
  BY_HANDLE_FILE_INFORMATION ib;
  return file_identity(a, ia) && file_identity(b, ib) &&
         ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

int WholeFile::open(std::string_view path) {
  discard();
  if (path.empty() || holds_nul(path)) return static_cast<int>(ERROR_FILE_NOT_FOUND);
  const std::wstring target = wide(path);
  if (const int refused = target_state(target); refused != 0) return refused;
  std::wstring temp;
  int error = 0;
  const HANDLE h =
      create_beside(folder_of(target), temp, GENERIC_WRITE | DELETE, FILE_ATTRIBUTE_NORMAL, error);
  if (h == INVALID_HANDLE_VALUE) return error;
  // Until commit() the system deletes it with its handle, however the program ends.
  delete_on_close(h, true);
  handle_ = reinterpret_cast<std::intptr_t>(h);
  target_ = from_wide(target);
  temp_ = from_wide(temp);
  return 0;
}

int WholeFile::write(std::string_view bytes) {
  if (!is_open()) return static_cast<int>(ERROR_INVALID_HANDLE);
  return write_all(as_handle(handle_), bytes);
}

int WholeFile::commit() {
  if (!is_open()) return static_cast<int>(ERROR_INVALID_HANDLE);
  const HANDLE h = as_handle(handle_);
  const std::wstring target = wide(target_);
  int error = target_state(target);
  if (error == 0 && !FlushFileBuffers(h)) error = last_error();
  if (error == 0 && !delete_on_close(h, false)) error = last_error();
  if (error != 0) {
    discard();
    return error;
  }
  handle_ = kClosed;
  if (!CloseHandle(h)) error = last_error();
  const std::wstring temp = wide(temp_);
  if (error == 0 && !MoveFileExW(temp.c_str(), target.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = last_error();
  }
  if (error != 0) DeleteFileW(temp.c_str());
  return error;
}

void WholeFile::discard() {
  if (!is_open()) return;
  const HANDLE h = as_handle(handle_);
  handle_ = kClosed;
  delete_on_close(h, true);
  CloseHandle(h);
  DeleteFileW(wide(temp_).c_str());  // where the system could not delete it on close
}

int ScratchFile::open(std::string_view beside) {
  close();
  if (holds_nul(beside)) return static_cast<int>(ERROR_FILE_NOT_FOUND);
  std::wstring name;
  int error = 0;
  const HANDLE h = create_beside(
      folder_of(wide(beside)), name, GENERIC_READ | GENERIC_WRITE,
      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, error);
  if (h == INVALID_HANDLE_VALUE) return error;
  handle_ = reinterpret_cast<std::intptr_t>(h);
  return 0;
}

int ScratchFile::write(std::string_view bytes) {
  if (!is_open()) return static_cast<int>(ERROR_INVALID_HANDLE);
  return write_all(as_handle(handle_), bytes);
}

int ScratchFile::copy_to(WholeFile& to) {
  if (!is_open()) return static_cast<int>(ERROR_INVALID_HANDLE);
  const HANDLE h = as_handle(handle_);
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(h, start, nullptr, FILE_BEGIN)) return last_error();
  std::array<char, 65536> block{};
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(h, block.data(), static_cast<DWORD>(block.size()), &got, nullptr))
      return last_error();
    if (got == 0) return 0;
    if (const int error = to.write(std::string_view(block.data(), got))) return error;
  }
}

void ScratchFile::close() {
  if (!is_open()) return;
  CloseHandle(as_handle(handle_));
  handle_ = kClosed;
}

}  // namespace platform
