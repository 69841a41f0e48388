#include "console.hpp"

#include "platform/platform.hpp"

namespace brevanto {

void Console::flush() {
  if (buffer_.empty()) return;
  platform::write_stdout(buffer_);
  buffer_.clear();
}

}  // namespace brevanto
