// Program, console and clock services on Windows.
#include <windows.h>
// windows.h first: shellapi.h builds on it.
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform.hpp"
#include "wide_win32.hpp"

namespace platform {
namespace {

// A console shows bytes in its own code page (the OEM one: 850 in France, 437 in the U.S.),
// where Windows-1252's accented letters are other characters: it gets the text in UTF-16.
bool write_console(HANDLE handle, std::string_view text) {
  DWORD mode = 0;
  if (!GetConsoleMode(handle, &mode)) return false;  // a file or a pipe
  constexpr std::size_t kPiece = 1 << 16;
  for (std::size_t from = 0; from < text.size(); from += kPiece) {
    const std::string_view piece = text.substr(from, kPiece);
    std::wstring wide(piece.size(), L'\0');  // one UTF-16 unit for each Windows-1252 byte
    const int n = MultiByteToWideChar(1252, 0, piece.data(), static_cast<int>(piece.size()),
                                      wide.data(), static_cast<int>(wide.size()));
    std::wstring_view rest(wide.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!rest.empty()) {
      DWORD written = 0;
      if (!WriteConsoleW(handle, rest.data(), static_cast<DWORD>(rest.size()), &written, nullptr) ||
          written == 0) {
        return true;  // a closed console loses the text; the run goes on
      }
      rest.remove_prefix(written);
    }
  }
  return true;
}

void write_all(HANDLE handle, std::string_view text) {
  if (write_console(handle, text)) return;
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

// The C library's argv holds the ANSI command line, where a name outside the ANSI code page has
// already lost letters (Polish ones become their nearest Latin ones, Japanese ones "?"): the
// arguments are split again from the UTF-16 command line, as the C library splits them.
std::vector<std::string> command_line(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide_args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide_args == nullptr) return {argv, argv + argc};
  std::vector<std::string> args;
  args.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    args.push_back(from_wide(wide_args[i]));
  LocalFree(wide_args);
  return args;
}

std::string executable_path() {
  std::wstring buf(MAX_PATH * 4, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
  if (n == 0 || n >= buf.size()) return {};
  buf.resize(n);
  return from_wide(buf);
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
