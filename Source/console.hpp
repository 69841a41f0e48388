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

  void write(std::string_view text);
  void line(std::string_view text) {
    write(text);
    write("\n");
  }
  // A free-format line (see TraceLine): one leading blank, then the items.
  template <typename... Items>
  void trace(const Items&... items) {
    line(trace_line(items...));
  }
  void flush();

 private:
  std::string* capture_ = nullptr;
  std::string buffer_;
};

}  // namespace brevanto
