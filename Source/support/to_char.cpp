#include "to_char.hpp"

#include "fixed_text.hpp"
#include "fortran_format.hpp"

namespace brevanto {

std::string i2b(std::int32_t value, int width) {
  return std::string(trim_left(fmt_i(value, width < 16 ? width : 16)));
}

}  // namespace brevanto
