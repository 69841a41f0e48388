// File, folder and text dialogs. Each flushes the console first, so everything written before
// the dialog is on screen while it waits for the user.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "console.hpp"

namespace brevanto {

// The patterns of a file-dialog filter: the filter (cut to 63 characters) split at commas, left
// to right, into at most 10 patterns of at most 31 characters. A comma in first place of the
// rest, or no comma, makes the whole rest the last pattern; an empty rest ends the split.
std::vector<std::string> split_filter(std::string_view filter);

// Open-file dialog titled `title`, opened at `path`, showing the patterns of `filter` (the
// description `desc` is not shown). `multi` 1 allows several files, whose full paths come back
// separated by "|". Writes the traces "GetFileName <filter> <length>" and "GetFileName <path>
// <length>" to the console first. On a choice: `file` receives it whole, `len` its length, and
// the result is 1. On cancel: an error box says no file was given (in French when the user
// interface is French), `len` is 0, `file` is left as it was and the result is 0.
int GetFileName(Console& con, std::string& file, std::string_view title, std::string_view path,
                std::string_view filter, std::string_view desc, int multi, int& len);

// Save-file dialog, the twin of GetFileName (traces "SaveFileName ...", same cancel box).
// Returns 1 when a file name was given, 0 on cancel.
int SaveFileName(Console& con, std::string& file, std::string_view title, std::string_view path,
                 std::string_view filter, std::string_view desc, int& len);

// Folder dialog titled `title`, opened at `deflt`. On a choice: `folder` receives it, `len` its
// length, and the result is 0. On cancel: an error box "No folder selected", `len` 0, result 1.
int GetFolder(Console& con, std::string_view title, std::string_view deflt, int& len,
              std::string& folder);

// Input box titled `title` asking `message`, proposing `deflt`. On OK: `answer` receives the
// text typed, `len` its length, and the result is 1. On cancel: `len` 0, result 0, no box.
int GetString(Console& con, std::string_view title, std::string_view message,
              std::string_view deflt, std::string& answer, int& len);

}  // namespace brevanto
