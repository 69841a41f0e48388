// File, folder and text dialogs. Each flushes the console first, so everything written before
// the dialog is on screen while it waits for the user.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console.hpp"

namespace brevanto {

// The patterns of a file-dialog filter: the filter (cut to 63 characters) split at commas, left
// to right, into at most 10 patterns of at most 31 characters. A comma in first place of the
// rest, or no comma, makes the whole rest the last pattern; an empty rest ends the split.
std::vector<std::string> split_filter(std::string_view filter);

// Open-file dialog titled `title`, opened at `path`, showing the patterns of `filter` under the
// name `desc` (the patterns themselves when it is empty), and every file as a second choice.
// `multi` allows several files, whose full paths come back separated by "|". Writes the traces
// "GetFileName <filter> <length>" and "GetFileName <path> <length>" (the path as messages show
// it) to the console first. Returns the choice whole; on cancel an error box says no file
// was given (in French when the user interface is French) and there is no result.
std::optional<std::string> GetFileName(Console& con, std::string_view title, std::string_view path,
                                       std::string_view filter, std::string_view desc, bool multi);

// Kept for completeness: the program does not call it.
// Save-file dialog, the twin of GetFileName (traces "SaveFileName ...", same cancel box).
std::optional<std::string> SaveFileName(Console& con, std::string_view title, std::string_view path,
                                        std::string_view filter, std::string_view desc);

// Folder dialog titled `title`, opened at `deflt`: the folder chosen, or none after an error box
// "No folder selected".
std::optional<std::string> GetFolder(Console& con, std::string_view title, std::string_view deflt);

// Kept for completeness: the program does not call it.
// Input box titled `title` asking `message`, proposing `deflt`: the text typed (possibly empty),
// or none on cancel, which shows no box.
std::optional<std::string> GetString(Console& con, std::string_view title, std::string_view message,
                                     std::string_view deflt);

}  // namespace brevanto
