// Dialogs on Windows: the system's own message box, open, save and folder dialogs, and a small
// input box built in memory. The program's Windows-1252 texts reach them in UTF-16, whatever the
// system's ANSI code page, and the names chosen come back whole (wide_win32.hpp).
#include <windows.h>
// windows.h first: the dialog headers build on it.
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <string>
#include <string_view>
#include <vector>

#include "console_box.hpp"
#include "encoding.hpp"
#include "tinyfiledialogs.hpp"
#include "wide_win32.hpp"

namespace {

using platform::from_wide;
using platform::wide;

std::string text_or_empty(const char* s) {
  return s == nullptr ? std::string() : std::string(s);
}

std::wstring wide_or_empty(const char* s) {
  return wide(text_or_empty(s));
}

// The text a dialog returns, kept until the next dialog as the library promises.
const char* keep(std::string text) {
  static std::string last;
  last = std::move(text);
  return last.c_str();
}

// The window the dialogs belong to: the console when it is shown, else none (the dialogs then
// come to the front on their own).
HWND owner_window() {
  HWND console = GetConsoleWindow();
  return (console != nullptr && IsWindowVisible(console)) ? console : nullptr;
}

// ---- Message box ----------------------------------------------------------------------------

UINT box_style(const std::string& type, const std::string& icon, int default_button) {
  UINT style = MB_SETFOREGROUND | MB_TOPMOST;
  int buttons = 1;
  if (type == "okcancel") {
    style |= MB_OKCANCEL;
    buttons = 2;
  } else if (type == "yesno") {
    style |= MB_YESNO;
    buttons = 2;
  } else if (type == "yesnocancel") {
    style |= MB_YESNOCANCEL;
    buttons = 3;
  } else {
    style |= MB_OK;
  }
  if (icon == "warning") {
    style |= MB_ICONWARNING;
  } else if (icon == "error") {
    style |= MB_ICONERROR;
  } else if (icon == "question") {
    style |= MB_ICONQUESTION;
  } else {
    style |= MB_ICONINFORMATION;
  }
  // Default button 1 is OK or Yes, the first button; 0 is Cancel or No, the last one; 2 is No,
  // the second button of Yes / No / Cancel.
  if (buttons > 1 && default_button == 0) style |= buttons == 3 ? MB_DEFBUTTON3 : MB_DEFBUTTON2;
  if (buttons == 3 && default_button == 2) style |= MB_DEFBUTTON2;
  return style;
}

// ---- File dialogs ---------------------------------------------------------------------------

// The filter of the common dialogs: pairs of a name and its patterns, each ended by a NUL, the
// whole ended by a second NUL. The patterns are named by the description, or by themselves; every
// file can still be chosen, as in every Windows program.
std::wstring file_filter(int count, const char* const* patterns, const char* description) {
  std::wstring list;
  for (int i = 0; patterns != nullptr && i < count; ++i) {
    if (patterns[i] == nullptr || *patterns[i] == '\0') continue;
    if (!list.empty()) list += L';';
    list += wide(patterns[i]);
  }
  std::wstring filter;
  if (!list.empty()) {
    filter = (description != nullptr && *description != '\0') ? wide(description) : list;
    filter += L'\0';
    filter += list;
    filter += L'\0';
  }
  filter += L"All files (*.*)";
  filter += L'\0';
  filter += L"*.*";
  filter += L'\0';
  return filter;  // c_str() adds the closing NUL
}

// A start path "C:\dir\" is a folder to open in; "C:\dir\name" also proposes a file name.
struct StartPath {
  std::wstring folder, file;
};
StartPath split_start_path(const char* path) {
  const std::wstring p = wide_or_empty(path);
  const std::size_t sep = p.find_last_of(L"\\/");
  if (sep == std::wstring::npos) return {std::wstring(), p};
  return {p.substr(0, sep + 1), p.substr(sep + 1)};
}

// Room for the longest multiple selection the dialog may return.
constexpr DWORD kFileBufferLen = 1 << 20;

// What a multiple selection returns: the folder, then each file name, each ended by a NUL (or
// only the full path when a single file was chosen). The result joins full paths with "|".
std::string joined_selection(const std::vector<wchar_t>& buffer) {
  std::vector<std::string> parts;
  const wchar_t* p = buffer.data();
  const wchar_t* const end = buffer.data() + buffer.size();
  while (p < end && *p != L'\0') {
    const std::wstring part(p);
    parts.push_back(from_wide(part));
    p += part.size() + 1;
  }
  if (parts.size() <= 1) return parts.empty() ? std::string() : parts.front();
  std::string folder = parts.front();
  if (folder.back() != '\\') folder += '\\';
  std::string joined;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    if (i > 1) joined += '|';
    joined += folder + parts[i];
  }
  return joined;
}

const char* file_dialog(bool save, const char* title, const char* start, int count,
                        const char* const* patterns, const char* description, bool multi) {
  const std::wstring filter = file_filter(count, patterns, description);
  const StartPath start_path = split_start_path(start);
  const std::wstring wide_title = wide_or_empty(title);
  std::vector<wchar_t> buffer(kFileBufferLen, L'\0');
  start_path.file.copy(buffer.data(), buffer.size() - 2);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner_window();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = kFileBufferLen;
  ofn.lpstrInitialDir = start_path.folder.empty() ? nullptr : start_path.folder.c_str();
  ofn.lpstrTitle = wide_title.empty() ? nullptr : wide_title.c_str();
  // No "Open as read-only" box: the program only reads the files it is given.
  ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  BOOL ok = FALSE;
  if (save) {
    ofn.Flags |= OFN_OVERWRITEPROMPT;
    ok = GetSaveFileNameW(&ofn);
  } else {
    ofn.Flags |= OFN_FILEMUSTEXIST;
    if (multi) ofn.Flags |= OFN_ALLOWMULTISELECT;
    ok = GetOpenFileNameW(&ofn);
  }
  if (!ok) return nullptr;
  std::string chosen = multi && !save ? joined_selection(buffer) : from_wide(buffer.data());
  if (chosen.empty()) return nullptr;
  return keep(std::move(chosen));
}

// ---- Folder dialog --------------------------------------------------------------------------

int CALLBACK folder_dialog_event(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) {
    SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  }
  return 0;
}

// ---- Input box ------------------------------------------------------------------------------

enum : WORD { kIdText = 100, kIdEdit = 101 };

struct InputBoxData {
  const char* title;
  const char* message;
  const char* initial;  // NULL: hidden input
  std::string answer;
};

// A dialog template in memory: a header, then items, each DWORD-aligned; texts are UTF-16 (the
// real texts are set once the dialog exists).
class DialogTemplate {
 public:
  void header(DWORD style, WORD items, short cx, short cy) {
    align();
    put_dword(style);
    put_dword(0);  // extended style
    put_word(items);
    put_words({0, 0, static_cast<WORD>(cx), static_cast<WORD>(cy)});
    put_words({0, 0, 0});  // no menu, standard class, empty title
    put_word(9);           // font size, then name
    put_text(L"MS Shell Dlg");
  }
  void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
    align();
    put_dword(style | WS_CHILD | WS_VISIBLE);
    put_dword(0);
    put_words({static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx),
               static_cast<WORD>(cy), id, 0xFFFF, atom});
    put_word(0);  // no text
    put_word(0);  // no creation data
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void align() {
    if (words_.size() % 2 != 0) words_.push_back(0);
  }
  void put_word(WORD w) { words_.push_back(w); }
  void put_words(std::initializer_list<WORD> ws) { words_.insert(words_.end(), ws); }
  void put_dword(DWORD d) {
    put_word(LOWORD(d));
    put_word(HIWORD(d));
  }
  void put_text(const wchar_t* text) {
    for (; *text != L'\0'; ++text)
      put_word(static_cast<WORD>(*text));
    put_word(0);
  }
  std::vector<WORD> words_;  // its storage is aligned for any fundamental type, DWORD included
};

INT_PTR CALLBACK input_box_event(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* data = reinterpret_cast<InputBoxData*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      SetWindowTextW(dialog, wide_or_empty(data->title).c_str());
      SetDlgItemTextW(dialog, kIdText, wide_or_empty(data->message).c_str());
      SetDlgItemTextW(dialog, kIdEdit, wide_or_empty(data->initial).c_str());
      SetDlgItemTextW(dialog, IDOK, L"OK");
      SetDlgItemTextW(dialog, IDCANCEL, L"Cancel");
      SetForegroundWindow(dialog);
      return TRUE;  // the focus goes to the first control that takes it: the entry
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK) {
        auto* data = reinterpret_cast<InputBoxData*>(GetWindowLongPtrW(dialog, DWLP_USER));
        HWND edit = GetDlgItem(dialog, kIdEdit);
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
        const int n = GetWindowTextW(edit, text.data(), static_cast<int>(text.size()));
        text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        // A typed text, not a name: what Windows-1252 cannot spell is "?".
        data->answer.clear();
        for (const wchar_t c : text)
          data->answer += platform::unicode_to_cp1252(static_cast<char16_t>(c));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wparam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

extern "C" {

int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType,
                      const char* aIconType, int aDefaultButton) {
  const std::string type = text_or_empty(aDialogType);
  const int answer =
      MessageBoxW(owner_window(), wide_or_empty(aMessage).c_str(), wide_or_empty(aTitle).c_str(),
                  box_style(type, text_or_empty(aIconType), aDefaultButton));
  if (answer <= 0) {
    // No box could be shown (a session without desktop; Wine without display answers -1): a
    // fatal error must not pass unseen, so it goes to the console as on a system without one.
    platform::write_console_box(aTitle, aMessage, aIconType);
    return platform::unseen_answer(type);
  }
  switch (answer) {
    case IDOK:
    case IDYES:
      return 1;
    case IDNO:
      return type == "yesnocancel" ? 2 : 0;
    default:
      return type == "ok" ? 1 : 0;  // Cancel, or closed
  }
}

const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile,
                                  int aNumOfFilterPatterns, const char* const* aFilterPatterns,
                                  const char* aSingleFilterDescription, int aAllowMultipleSelects) {
  return file_dialog(false, aTitle, aDefaultPathAndOrFile, aNumOfFilterPatterns, aFilterPatterns,
                     aSingleFilterDescription, aAllowMultipleSelects != 0);
}

const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile,
                                  int aNumOfFilterPatterns, const char* const* aFilterPatterns,
                                  const char* aSingleFilterDescription) {
  return file_dialog(true, aTitle, aDefaultPathAndOrFile, aNumOfFilterPatterns, aFilterPatterns,
                     aSingleFilterDescription, false);
}

const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath) {
  // The folder dialog of the new style needs COM in a single-threaded apartment.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::wstring start = wide_or_empty(aDefaultPath);
  // "C:\dir\" selects nothing: the folder is named without its last separator ("C:\" keeps it).
  while (start.size() > 3 && (start.back() == L'\\' || start.back() == L'/'))
    start.pop_back();
  const std::wstring title = wide_or_empty(aTitle);

  BROWSEINFOW info{};
  info.hwndOwner = owner_window();
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = folder_dialog_event;
  info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  const char* result = nullptr;
  if (LPITEMIDLIST item = SHBrowseForFolderW(&info)) {
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path) && path[0] != L'\0') result = keep(from_wide(path));
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}

const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput) {
  DialogTemplate dialog;
  dialog.header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER, 4, 240,
                90);
  dialog.item(SS_LEFT, 7, 7, 226, 36, kIdText, 0x0082);  // static
  dialog.item(
      ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | (aDefaultInput == nullptr ? ES_PASSWORD : 0), 7, 48,
      226, 14, kIdEdit, 0x0081);                                              // edit
  dialog.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 129, 69, 50, 14, IDOK, 0x0080);  // button
  dialog.item(BS_PUSHBUTTON | WS_TABSTOP, 183, 69, 50, 14, IDCANCEL, 0x0080);
  InputBoxData data{aTitle, aMessage, aDefaultInput, {}};
  const INT_PTR result =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner_window(),
                              input_box_event, reinterpret_cast<LPARAM>(&data));
  if (result != IDOK) return nullptr;
  return keep(std::move(data.answer));
}
}
