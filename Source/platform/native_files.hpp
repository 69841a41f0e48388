// What the *_posix.cpp files of this layer share about native paths, beside the program's path
// texts of platform.hpp.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// open_regular_file() for a native path, taken as it is.
std::FILE* open_native_regular_file(const std::string& native, int& error);

}  // namespace platform
