#include "GetExePath.hpp"

#include "platform.hpp"

namespace brevanto {

int GetExePath(std::string& path) {
  path = platform::executable_path();
  return static_cast<int>(path.size());
}

}  // namespace brevanto
