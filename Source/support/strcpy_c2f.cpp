#include "strcpy_c2f.hpp"

namespace brevanto {

void strcpy_c2f(std::string_view in_str, std::string& out_str, int& ls, std::size_t out_len) {
  if (ls == 0) ls = static_cast<int>(out_len);
  std::size_t n = in_str.find('\0');
  if (n == std::string_view::npos) n = in_str.size();
  const std::size_t limit = ls > 0 ? static_cast<std::size_t>(ls) : 0;
  if (n > limit) n = limit;
  if (n > out_len) n = out_len;
  out_str.assign(trim_right(in_str.substr(0, n)));
  ls = static_cast<int>(n);
}

void strcpy_f2c(std::string_view in_str, std::string& out_str, int& ls) {
  const std::string_view content = trim_right(in_str);
  out_str.assign(content);
  out_str += '\0';
  ls = static_cast<int>(content.size());
}

}  // namespace brevanto
