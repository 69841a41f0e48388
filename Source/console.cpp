#include "console.hpp"

#include "platform/platform.hpp"

namespace brevanto {

namespace {
constexpr std::size_t kFlushAt = std::size_t{64} * 1024;
}

void Console::write(std::string_view text) {
  if (capture_ != nullptr) {
    capture_->append(text);
    return;
  }
  buffer_.append(text);
  if (buffer_.size() >= kFlushAt) flush();
}

void Console::flush() {
  if (buffer_.empty()) return;
  platform::write_stdout(buffer_);
  buffer_.clear();
}

}  // namespace brevanto
