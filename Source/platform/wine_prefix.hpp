// The Wine prefix that stands for the simulator's Windows on POSIX systems: its drives, its
// registry files and its environment. Used only by the *_posix.cpp files of this layer.
#pragma once

#include <string>

namespace platform {

// $WINEPREFIX, or $HOME/.wine when it is unset or empty.
std::string wine_prefix();

}  // namespace platform
