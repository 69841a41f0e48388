// The dialog functions the program calls, with the signatures and return conventions of the
// tinyfiledialogs library. This layer provides them itself: native dialogs on Windows, zenity on
// a POSIX desktop, and console answers where there is no display.
#pragma once

extern "C" {

// dialogType: "ok", "okcancel", "yesno", "yesnocancel"; iconType: "info", "warning", "error",
// "question"; defaultButton: 0 for cancel/no, 1 for ok/yes, 2 for no in yesnocancel.
// Returns 0 for cancel/no, 1 for ok/yes, 2 for no in yesnocancel.
int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType,
                      const char* aIconType, int aDefaultButton);

// Returns the chosen path (several separated by "|" with aAllowMultipleSelects), or NULL on
// cancel. The text stays valid until the next dialog call.
const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile,
                                  int aNumOfFilterPatterns, const char* const* aFilterPatterns,
                                  const char* aSingleFilterDescription, int aAllowMultipleSelects);

const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile,
                                  int aNumOfFilterPatterns, const char* const* aFilterPatterns,
                                  const char* aSingleFilterDescription);

const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath);

// aDefaultInput NULL asks for a password (hidden input). Returns NULL on cancel.
const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput);
}
