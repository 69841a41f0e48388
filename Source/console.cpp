#include "console.hpp"

#include "platform/platform.hpp"

namespace brevanto {

char* Console::room(std::size_t n) {
  if (used_ + n > buffer_.size()) {
    if (used_ > 0) flush();
    // Room for a full buffer and the line that passes it; a longer line gets its own.
    if (n > buffer_.size()) buffer_.resize(n > kFlushAt ? n : 2 * kFlushAt);
  }
  return buffer_.data() + used_;
}

void Console::written(const char* end) {
  used_ = static_cast<std::size_t>(end - buffer_.data());
  if (capture_ != nullptr) {
    capture_->append(buffer_.data(), used_);
    used_ = 0;
  } else if (used_ >= kFlushAt) {
    flush();
  }
}

void Console::flush() {
  if (used_ == 0 || capture_ != nullptr) return;
  platform::write_stdout(std::string_view(buffer_.data(), used_));
  used_ = 0;
}

}  // namespace brevanto
