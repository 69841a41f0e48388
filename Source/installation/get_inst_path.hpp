#pragma once

#include <string>
#include <string_view>

namespace brevanto {

// The folder of a program file: the path up to and including its last folder separator (".\"
// when it has none), with a drive letter in upper case. Blank for a blank path.
std::string folder_of_executable(std::string_view exe_path);

// The folder of the running executable, ending with its separator; blank when the executable's
// path is not available.
std::string get_inst_path();

}  // namespace brevanto
