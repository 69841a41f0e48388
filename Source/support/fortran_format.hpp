// Number layouts of the program's messages and console lines.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

namespace brevanto {

// An integer right-justified in a field of `width` characters; `width` asterisks when it does
// not fit: 7 in two characters is " 7", 100 is "**".
std::string fmt_i(std::int64_t value, int width);

// A real in fixed notation, `width` characters with `decimals` after the point, right-justified;
// asterisks when it does not fit.
std::string fmt_f(double value, int width, int decimals);

// A free-format console line: one leading blank, then the items; numbers and booleans (T or F)
// are separated from their neighbours by one blank, adjacent texts are joined as they stand.
// The writer puts the line at `p`, where trace_room() of the items and one more are free: the
// console has it made in place in its buffer, as the diagnostic lines are many.
class TraceWriter {
 public:
  explicit TraceWriter(char* p) : p_(p) { *p_++ = ' '; }

  void add(std::string_view s) {
    if (!empty_ && !last_was_text_) *p_++ = ' ';
    if (!s.empty()) std::memcpy(p_, s.data(), s.size());
    p_ += s.size();
    last_was_text_ = true;
    empty_ = false;
  }
  void add(const char* s) { add(std::string_view(s)); }
  void add(const std::string& s) { add(std::string_view(s)); }
  void add(bool b) {
    number_start();
    *p_++ = b ? 'T' : 'F';
  }
  // A real as the shortest text that reads back as the same 32-bit value.
  void add(float v);
  void add(double v) { add(static_cast<float>(v)); }
  template <typename T>
  requires std::is_integral_v<T>
  void add(T v) {
    number_start();
    p_ = std::to_chars(p_, p_ + kIntegerRoom, v).ptr;
  }

  char* end() const { return p_; }

  static constexpr std::size_t kIntegerRoom = 24;  // any 64-bit integer and its sign
  static constexpr std::size_t kRealRoom = 32;     // the shortest form of a 32-bit real, ".0"

 private:
  void number_start() {
    if (!empty_) *p_++ = ' ';
    last_was_text_ = false;
    empty_ = false;
  }
  char* p_;
  bool last_was_text_ = true;
  bool empty_ = true;
};

// The room an item may take in a line, its separating blank included.
inline std::size_t trace_room(std::string_view s) {
  return s.size() + 1;
}
inline std::size_t trace_room(const char* s) {
  return std::strlen(s) + 1;
}
inline std::size_t trace_room(const std::string& s) {
  return s.size() + 1;
}
inline std::size_t trace_room(bool /*value*/) {
  return 2;
}
inline std::size_t trace_room(float /*value*/) {
  return TraceWriter::kRealRoom + 1;
}
inline std::size_t trace_room(double /*value*/) {
  return TraceWriter::kRealRoom + 1;
}
template <typename T>
requires std::is_integral_v<T> std::size_t trace_room(T /*value*/) {
  return TraceWriter::kIntegerRoom + 1;
}

}  // namespace brevanto
