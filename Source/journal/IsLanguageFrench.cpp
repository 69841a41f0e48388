#include "IsLanguageFrench.hpp"

#include "platform.hpp"

namespace brevanto {

// The low byte of a language identifier is the primary language; 0x0C is French.
int IsLanguageFrench() {
  return (platform::ui_language() & 0xFF) == 0x0C ? 1 : 0;
}

}  // namespace brevanto
