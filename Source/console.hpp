// Standard output of the program. Lines are buffered for speed and written in one go when the
// buffer fills, before every dialog and at exit (flush()). A test gives a string to capture into.
#pragma once

#include <string>
#include <string_view>

#include "fortran_format.hpp"

namespace brevanto {

class Console {
 public:
  Console() = default;                                            // standard output
  explicit Console(std::string& capture) : capture_(&capture) {}  // for tests
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  ~Console() { flush(); }

  void write(std::string_view text) {
    sink() += text;
    written();
  }
  void line(std::string_view text) {
    std::string& out = sink();
    out += text;
    out += '\n';
    written();
  }
  // A free-format line (see TraceWriter): one leading blank, then the items.
  template <typename... Items>
  void trace(const Items&... items) {
    std::string& out = sink();
    append_trace(out, items...);
    out += '\n';
    written();
  }
  void flush();

 private:
  static constexpr std::size_t kFlushAt = 64 * 1024;

  std::string& sink() { return capture_ != nullptr ? *capture_ : buffer_; }
  void written() {
    if (capture_ == nullptr && buffer_.size() >= kFlushAt) flush();
  }

  std::string* capture_ = nullptr;
  std::string buffer_;
};

}  // namespace brevanto
