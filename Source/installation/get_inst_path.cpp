#include "get_inst_path.hpp"

#include "GetExePath.hpp"
#include "chars.hpp"
#include "fixed_text.hpp"

namespace brevanto {

std::string folder_of_executable(std::string_view exe_path) {
  if (exe_path.empty()) return {};
  const std::size_t cut = last_folder_separator(exe_path);
  std::string folder =
      cut == std::string_view::npos ? std::string(".\\") : std::string(exe_path.substr(0, cut + 1));
  if (folder.size() >= 2 && folder[1] == ':') folder[0] = platform::ascii_upper(folder[0]);
  return folder;
}

std::string get_inst_path() {
  std::string path;
  if (GetExePath(path) <= 0) return {};
  return folder_of_executable(path);
}

}  // namespace brevanto
