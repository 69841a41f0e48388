// Number layouts of the program's messages and console lines.
#pragma once

#include <charconv>
#include <cstdint>
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

// A real as a free-format item: the shortest text that reads back as the same 32-bit value.
std::string fmt_real(float value);

// A free-format console line: one leading blank, then the items; numbers and booleans (T or F)
// are separated from their neighbours by one blank, adjacent texts are joined as they stand. The
// line is written at the end of `out`, without its line end.
class TraceLine {
 public:
  explicit TraceLine(std::string& out) : out_(out) { out_ += ' '; }
  TraceLine(const TraceLine&) = delete;
  TraceLine& operator=(const TraceLine&) = delete;

  TraceLine& add(std::string_view s);
  TraceLine& add(const char* s) { return add(std::string_view(s)); }
  TraceLine& add(const std::string& s) { return add(std::string_view(s)); }
  TraceLine& add(bool b);
  TraceLine& add(float v);
  TraceLine& add(double v) { return add(static_cast<float>(v)); }
  template <typename T>
  requires std::is_integral_v<T> TraceLine& add(T v) {
    // Wide enough for any 64-bit integer and its sign.
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, v);
    return add_number(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
  }

 private:
  TraceLine& add_number(std::string_view s);
  std::string& out_;
  bool last_was_text_ = true;
  bool empty_ = true;
};

template <typename... Items>
std::string trace_line(const Items&... items) {
  std::string text;
  TraceLine line(text);
  (line.add(items), ...);
  return text;
}

}  // namespace brevanto
