#include "console.hpp"

namespace brevanto {

char* Console::make_room(std::size_t n) {
  if (used_ > 0) flush();
  // Room for a full buffer and the line that passes it; a longer line gets its own.
  if (n > buffer_.size()) buffer_.resize(n > kFlushAt ? n : 2 * kFlushAt);
  return buffer_.data() + used_;
}

void Console::pass_on() {
  if (capture_ != nullptr) {
    capture_->append(buffer_.data(), used_);
    used_ = 0;
  } else {
    flush();
  }
}

void Console::flush() {
  if (used_ == 0 || capture_ != nullptr) return;
  if (output_ != nullptr) output_(std::string_view(buffer_.data(), used_));
  used_ = 0;
}

}  // namespace brevanto
