#include "is_true.hpp"

namespace brevanto {

bool is_true(std::string_view cc) {
  return !cc.empty() && (cc[0] == '1' || cc[0] == 'Y' || cc[0] == 'y');
}

int log2int(bool qqq) {
  return qqq ? 1 : 0;
}

}  // namespace brevanto
