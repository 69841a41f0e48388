// Conversions between the program's fixed-length texts (content without trailing blanks, a
// declared width) and NUL-terminated texts of the system calls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fixed_text.hpp"

namespace brevanto {

// Copies `in_str` up to its first NUL into the field `out_str` of width `out_len`, at most `ls`
// characters (all the field when `ls` is 0 on entry). `ls` returns the number of characters
// copied (trailing blanks included); `out_str` holds them without trailing blanks. Never fails:
// longer texts are cut to the field.
void strcpy_c2f(std::string_view in_str, std::string& out_str, int& ls,
                std::size_t out_len = kPathLen);

// Kept for completeness: the program does not call it.
// The content of a blank-padded text, NUL-terminated: `out_str` holds the characters without
// trailing blanks followed by one NUL, `ls` their number.
void strcpy_f2c(std::string_view in_str, std::string& out_str, int& ls);

}  // namespace brevanto
