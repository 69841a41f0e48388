// The program's reading of yes/no values.
#pragma once

#include <string_view>

namespace brevanto {

// True exactly when the first character is "1", "Y" or "y" ("Yes" is true, "True" is false).
// Leading blanks are not skipped: callers pass left-justified values.
bool is_true(std::string_view value);

// Kept for completeness: the program does not call it.
// 1 for true, 0 for false.
int log2int(bool flag);

}  // namespace brevanto
