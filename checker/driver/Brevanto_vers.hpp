#pragma once

namespace brevanto {

// Sets `numver` to the program's version number.
void vers_num(int& numver);

}  // namespace brevanto
