// Program, console and clock services on Windows.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform.hpp"

namespace platform {
namespace {

void write_all(HANDLE handle, std::string_view text) {
  while (!text.empty()) {
    DWORD written = 0;
    if (!WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written == 0) {
      return;
    }
    text.remove_prefix(written);
  }
}

}  // namespace

std::string executable_path() {
  std::string buf(MAX_PATH * 4, '\0');
  const DWORD n = GetModuleFileNameA(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  if (n == 0 || n >= buf.size()) return {};
  buf.resize(n);
  return buf;
}

bool slash_is_separator() {
  return false;
}

std::uint16_t ui_language() {
  return GetUserDefaultUILanguage();
}

int console_process_count() {
  DWORD list[1];
  return static_cast<int>(GetConsoleProcessList(list, 1));
}

void hide_console_window() {
  HWND window = GetConsoleWindow();
  if (window != nullptr) ShowWindow(window, SW_HIDE);
}

void write_stdout(std::string_view text) {
  write_all(GetStdHandle(STD_OUTPUT_HANDLE), text);
}
void write_stderr(std::string_view text) {
  write_all(GetStdHandle(STD_ERROR_HANDLE), text);
}
void flush_stdout() {}

LocalTime local_time() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

}  // namespace platform
