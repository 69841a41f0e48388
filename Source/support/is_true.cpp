#include "is_true.hpp"

namespace brevanto {

bool is_true(std::string_view value) {
  return !value.empty() && (value[0] == '1' || value[0] == 'Y' || value[0] == 'y');
}

int log2int(bool flag) {
  return flag ? 1 : 0;
}

}  // namespace brevanto
