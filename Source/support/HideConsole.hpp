#pragma once

#include "console.hpp"

namespace brevanto {

// Hides the console window when no other process shares it (the program was started from the
// desktop); a console shared with a command prompt stays. Writes its findings to the console.
void HideConsole(Console& con);

}  // namespace brevanto
