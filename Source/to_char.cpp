#include "to_char.hpp"

#include "fixed_text.hpp"
#include "fortran_format.hpp"

namespace brevanto {

std::string i2b(std::int32_t ii4, int& lb, int width) {
  const int w = width < 16 ? width : 16;
  std::string text(trim_left(fmt_i(ii4, w)));
  lb = static_cast<int>(text.size());
  return text;
}

std::string i2b(std::int32_t ii4, int width) {
  int lb = 0;
  return i2b(ii4, lb, width);
}

}  // namespace brevanto
