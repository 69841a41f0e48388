#include "Brevanto_vers.hpp"

namespace brevanto {

void vers_num(int& numver) {
  numver = 1810;
}

}  // namespace brevanto
