// Plays the user in front of the Windows program: starts it, waits for each message box or Open
// dialog it shows, writes down what the window says and answers it, in the order given.
//
//   dialog_driver <report> <answer>... -- <program> <argument>...
//
// An answer is "press:<button>" (its label, without "&", any case) or "type:<name>|<name>..."
// (file names typed into an Open dialog, which is then confirmed). A window beyond the answers
// is written down too and closed (Cancel, else No, else OK), so that a run that shows one box too
// many ends and says so. The report, in UTF-8, has one record per window, its fields separated by
// 0x1F and ended by 0x1E:
//   box   title  icon (error, warning, info, question, ?)  text  buttons ("OK/Cancel")
//   open  title  folder ("Look in")  filters ("a|b")  read-only box shown ("read-only" or "")
// The driver ends with the program's exit status; 124 when the program had to be stopped, 125
// when the driver itself failed.
#include <windows.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWindowWait = 30000;  // ms for the next window, and for the program's end
constexpr DWORD kStep = 50;

// The controls of the Open dialog, as Windows numbers them.
constexpr int kLookIn = 0x471;    // cmb2
constexpr int kFileName = 0x47C;  // cmb13
constexpr int kFileType = 0x470;  // cmb1
constexpr int kReadOnly = 0x410;  // chx1
constexpr int kBoxIcon = 0x440;   // the icon of a message box

std::string utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

std::wstring text_of(HWND window) {
  std::wstring buffer(8192, L'\0');
  const LRESULT n =
      SendMessageW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  return buffer;
}

std::wstring class_of(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// A button's label as a user reads it: "&Open" is "Open".
std::wstring label(HWND button) {
  std::wstring out;
  for (const wchar_t c : text_of(button)) {
    if (c != L'&') out += c;
  }
  return out;
}

bool same_label(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// ---- The program's windows ------------------------------------------------------------------

struct Search {
  DWORD process;
  HWND found;
};

// The dialog of the program that waits for the user: shown and enabled (an Open dialog is
// disabled while a box of its own is up).
HWND active_dialog(DWORD process) {
  Search search{process, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s->process || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
            class_of(window) != L"#32770") {
          return TRUE;
        }
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool is_open_dialog(HWND dialog) {
  return GetDlgItem(dialog, kFileType) != nullptr;
}

// ---- What a window says -----------------------------------------------------------------------

// The icon of a message box, told from its pixels on the screen: the system's icons drawn on
// the box's background, the closest one.
std::string box_icon(HWND dialog) {
  HWND icon = GetDlgItem(dialog, kBoxIcon);
  RECT r;
  if (icon == nullptr || !IsWindowVisible(icon) || !GetWindowRect(icon, &r)) return "?";
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  if (w <= 0 || h <= 0 || w > 256 || h > 256) return "?";
  HDC screen = GetDC(nullptr);
  HDC shot = CreateCompatibleDC(screen);
  HDC drawn = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* shot_bits = nullptr;
  void* drawn_bits = nullptr;
  HBITMAP shot_map = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &shot_bits, nullptr, 0);
  HBITMAP drawn_map = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &drawn_bits, nullptr, 0);
  std::string best = "?";
  if (shot_map != nullptr && drawn_map != nullptr) {
    HGDIOBJ old_shot = SelectObject(shot, shot_map);
    HGDIOBJ old_drawn = SelectObject(drawn, drawn_map);
    BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* seen = static_cast<const std::uint32_t*>(shot_bits);
    auto* mine = static_cast<std::uint32_t*>(drawn_bits);
    const auto pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    // IDI_ERROR, IDI_WARNING, IDI_INFORMATION, IDI_QUESTION.
    const struct {
      ULONG_PTR id;
      const char* name;
    } icons[] = {{32513, "error"}, {32515, "warning"}, {32516, "info"}, {32514, "question"}};
    double best_difference = 1e18;
    for (const auto& candidate : icons) {
      for (std::size_t i = 0; i < pixels; ++i)
        mine[i] = seen[0];  // the box's background, from the corner
      DrawIconEx(drawn, 0, 0, LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(candidate.id)), w, h, 0,
                 nullptr, DI_NORMAL);
      GdiFlush();
      double difference = 0;
      for (std::size_t i = 0; i < pixels; ++i) {
        for (int shift = 0; shift < 24; shift += 8) {
          const int a = static_cast<int>((seen[i] >> shift) & 0xFF);
          const int b = static_cast<int>((mine[i] >> shift) & 0xFF);
          difference += a > b ? a - b : b - a;
        }
      }
      difference /= static_cast<double>(pixels);
      if (difference < best_difference) {
        best_difference = difference;
        best = candidate.name;
      }
    }
    if (best_difference > 20) best = "?";  // nothing like any of them: not painted yet
    SelectObject(shot, old_shot);
    SelectObject(drawn, old_drawn);
  }
  if (shot_map != nullptr) DeleteObject(shot_map);
  if (drawn_map != nullptr) DeleteObject(drawn_map);
  DeleteDC(shot);
  DeleteDC(drawn);
  ReleaseDC(nullptr, screen);
  return best;
}

std::vector<std::string> describe_box(HWND dialog) {
  std::wstring text;
  std::wstring buttons;
  for (HWND child : children(dialog)) {
    const std::wstring kind = class_of(child);
    if (kind == L"Static" && GetDlgCtrlID(child) != kBoxIcon) text += text_of(child);
    if (kind == L"Button" && IsWindowVisible(child)) {
      if (!buttons.empty()) buttons += L'/';
      buttons += label(child);
    }
  }
  // The icon is painted last of all: look a few times.
  std::string icon = "?";
  for (int attempt = 0; attempt < 40 && icon == "?"; ++attempt) {
    icon = box_icon(dialog);
    if (icon == "?") Sleep(kStep);
  }
  return {"box", utf8(text_of(dialog)), icon, utf8(text), utf8(buttons)};
}

std::vector<std::string> describe_open(HWND dialog) {
  HWND types = GetDlgItem(dialog, kFileType);
  std::wstring filters;
  const LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(types, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length < 0) continue;
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(types, CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    if (!filters.empty()) filters += L'|';
    filters += item;
  }
  HWND read_only = GetDlgItem(dialog, kReadOnly);
  const bool shown = read_only != nullptr && IsWindowVisible(read_only);
  return {"open", utf8(text_of(dialog)), utf8(text_of(GetDlgItem(dialog, kLookIn))), utf8(filters),
          shown ? "read-only" : ""};
}

// ---- Answering ------------------------------------------------------------------------------

bool press(HWND dialog, const std::wstring& wanted) {
  for (HWND child : children(dialog)) {
    if (class_of(child) == L"Button" && IsWindowVisible(child) &&
        same_label(label(child), wanted)) {
      // Through the dialog, as a click does: the button's command reaches the dialog.
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                   reinterpret_cast<LPARAM>(child));
      return true;
    }
  }
  return false;
}

// Several names are typed as Windows users do: each in double quotes, separated by a blank.
bool type_names(HWND dialog, const std::wstring& names) {
  std::wstring typed;
  std::vector<std::wstring> list;
  std::size_t from = 0;
  for (;;) {
    const std::size_t bar = names.find(L'|', from);
    list.push_back(names.substr(from, bar == std::wstring::npos ? bar : bar - from));
    if (bar == std::wstring::npos) break;
    from = bar + 1;
  }
  if (list.size() == 1) {
    typed = list.front();
  } else {
    for (const std::wstring& name : list) {
      if (!typed.empty()) typed += L' ';
      typed += L'"' + name + L'"';
    }
  }
  HWND field = GetDlgItem(dialog, kFileName);
  if (field == nullptr) return false;
  // The field is a combo box with an edit inside; the dialog reads the edit.
  for (HWND child : children(field)) {
    if (class_of(child) == L"Edit") field = child;
  }
  SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  return true;
}

bool answer(HWND dialog, const std::wstring& action) {
  if (action.starts_with(L"press:")) return press(dialog, action.substr(6));
  if (action.starts_with(L"type:")) return type_names(dialog, action.substr(5));
  return false;
}

// ---- The run --------------------------------------------------------------------------------

// One argument of a command line, quoted as CommandLineToArgvW and the C library read it.
std::wstring quoted(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

void write_record(std::FILE* report, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) std::fputc(0x1F, report);
    std::fputs(fields[i].c_str(), report);
  }
  std::fputc(0x1E, report);
  std::fflush(report);
}

int drive(std::FILE* report, const std::vector<std::wstring>& actions, std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION program{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &program)) {
    std::fprintf(stderr, "dialog_driver: the program cannot be started (%lu)\n", GetLastError());
    return 125;
  }
  CloseHandle(program.hThread);
  std::size_t next = 0;
  DWORD waited = 0;
  int status = 124;
  while (waited < kWindowWait) {
    if (WaitForSingleObject(program.hProcess, 0) == WAIT_OBJECT_0) {
      DWORD code = 0;
      GetExitCodeProcess(program.hProcess, &code);
      status = static_cast<int>(code);
      break;
    }
    HWND dialog = active_dialog(program.dwProcessId);
    if (dialog == nullptr) {
      Sleep(kStep);
      waited += kStep;
      continue;
    }
    Sleep(100);  // let it settle: its icon is painted after it shows
    const bool open = is_open_dialog(dialog);
    write_record(report, open ? describe_open(dialog) : describe_box(dialog));
    const bool planned = next < actions.size();
    if (!planned || !answer(dialog, actions[next])) {
      if (!press(dialog, L"Cancel") && !press(dialog, L"No")) press(dialog, L"OK");
    }
    if (planned) ++next;
    for (DWORD t = 0; t < kWindowWait && IsWindow(dialog) && IsWindowVisible(dialog); t += kStep)
      Sleep(kStep);
    waited = 0;
  }
  if (status == 124) TerminateProcess(program.hProcess, 124);
  CloseHandle(program.hProcess);
  return status;
}

}  // namespace

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || argc < 4) {
    std::fputs("usage: dialog_driver <report> <answer>... -- <program> <argument>...\n", stderr);
    return 125;
  }
  std::vector<std::wstring> actions;
  int i = 2;
  for (; i < argc && std::wstring(argv[i]) != L"--"; ++i)
    actions.emplace_back(argv[i]);
  std::wstring command;
  for (++i; i < argc; ++i) {
    if (!command.empty()) command += L' ';
    command += quoted(argv[i]);
  }
  std::FILE* report = _wfopen(argv[1], L"wb");
  if (report == nullptr || command.empty()) {
    std::fputs("dialog_driver: no report file or no program\n", stderr);
    return 125;
  }
  const int status = drive(report, actions, command);
  std::fclose(report);
  LocalFree(argv);
  return status;
}
