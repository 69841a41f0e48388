#pragma once

#include <string>

namespace brevanto {

// Places the running executable's full path in `path`; returns its length, 0 on failure.
int GetExePath(std::string& path);

}  // namespace brevanto
