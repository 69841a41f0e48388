// The console of the program: its diagnostic lines and its copy of the report. Lines are
// buffered for speed and handed on in one go when the buffer fills, before every dialog and at
// exit (flush()): to standard output (the console program gives the function that writes there),
// into a string (a test), or nowhere (a reading whose lines nobody wants).
//
// Two kinds of output: what the user must see (line(): the report, warnings, errors, the help),
// and the diagnostic lines of every step (trace(), note(), write()), which a quiet console drops.
#pragma once

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fortran_format.hpp"

namespace brevanto {

class Console {
 public:
  using Output = void (*)(std::string_view text);
  struct Discard {};

  explicit Console(Output output) : output_(output) {}            // standard output
  explicit Console(std::string& capture) : capture_(&capture) {}  // for tests
  explicit Console([[maybe_unused]] Discard nowhere) : discard_(true) {}
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  ~Console() { flush(); }

  // A quiet console drops the diagnostic lines; the others still reach it.
  void set_quiet(bool quiet) { quiet_ = quiet; }

  // Diagnostic text as it is, line ends included.
  void write(std::string_view text) {
    if (quiet_ || discard_) return;
    char* p = room(text.size());
    if (!text.empty()) std::memcpy(p, text.data(), text.size());
    written(p + text.size());
  }
  // A diagnostic line.
  void note(std::string_view text) {
    if (!quiet_) line(text);
  }
  // A line for the user, shown whatever the console's mode.
  void line(std::string_view text) {
    if (discard_) return;
    char* p = room(text.size() + 1);
    if (!text.empty()) std::memcpy(p, text.data(), text.size());
    p[text.size()] = '\n';
    written(p + text.size() + 1);
  }
  // A free-format line (see TraceWriter): one leading blank, then the items. Written in place
  // at the end of the buffer: the diagnostic lines are many.
  template <typename... Items>
  void trace(const Items&... items) {
    // Nothing made for nobody: the readings apart from the run are many.
    if (quiet_ || discard_) return;
    TraceWriter line(room(2 + (std::size_t{0} + ... + trace_room(items))));
    (line.add(items), ...);
    char* end = line.end();
    *end++ = '\n';
    written(end);
  }
  void flush();

 private:
  static constexpr std::size_t kFlushAt = std::size_t{64} * 1024;

  // A place for `n` more characters at the end of the buffer.
  char* room(std::size_t n) {
    if (used_ + n <= buffer_.size()) return buffer_.data() + used_;
    return make_room(n);
  }
  char* make_room(std::size_t n);
  // The buffer holds what was written up to `end`: captured at once, or flushed when full.
  void written(const char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.data());
    if (capture_ != nullptr || used_ >= kFlushAt) pass_on();
  }
  void pass_on();

  Output output_ = nullptr;
  std::string* capture_ = nullptr;
  bool discard_ = false;
  bool quiet_ = false;
  std::vector<char> buffer_;
  std::size_t used_ = 0;  // characters of the buffer not yet written out
};

}  // namespace brevanto
