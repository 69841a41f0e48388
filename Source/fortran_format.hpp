// Number layouts of the program's messages and console lines.
#pragma once

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
// are separated from their neighbours by one blank, adjacent texts are joined as they stand.
class TraceLine {
 public:
  TraceLine() : text_(" ") {}
  TraceLine& add(std::string_view s);
  TraceLine& add(const char* s) { return add(std::string_view(s)); }
  TraceLine& add(const std::string& s) { return add(std::string_view(s)); }
  TraceLine& add(bool b);
  TraceLine& add(float v);
  TraceLine& add(double v) { return add(static_cast<float>(v)); }
  template <typename T>
  requires std::is_integral_v<T> TraceLine& add(T v) { return add_number(std::to_string(v)); }
  const std::string& str() const { return text_; }

 private:
  TraceLine& add_number(const std::string& s);
  std::string text_;
  bool last_was_text_ = true;
  bool empty_ = true;
};

template <typename... Items>
std::string trace_line(const Items&... items) {
  TraceLine line;
  (line.add(items), ...);
  return line.str();
}

}  // namespace brevanto
