// Fixed-length texts. A field of the program has a declared width; its content is kept as a
// std::string without trailing blanks, which is what counts in comparisons and output.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brevanto {

// Usual widths of the program's fields.
inline constexpr std::size_t kKeyLen = 80;    // keys and values
inline constexpr std::size_t kLineLen = 132;  // lines of rules files and flight plans
inline constexpr std::size_t kPathLen = 256;  // settings lines (paths are never cut)
inline constexpr std::size_t kMsgLen = 512;   // messages

// The text without its trailing blanks. Inline: every field of every line passes here.
inline std::string_view trim_right(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ')
    --end;
  return text.substr(0, end);
}
// The text without its leading blanks ("left-justified").
inline std::string_view trim_left(std::string_view text) {
  std::size_t start = 0;
  while (start < text.size() && text[start] == ' ')
    ++start;
  return text.substr(start);
}

// Assignment to a field of the given width: the text cut at the width, trailing blanks dropped.
std::string fit(std::string_view text, std::size_t width);
// The same into an existing field, which keeps its room: no allocation for a field reused line
// after line. `text` may lie in `field`.
void fit_into(std::string& field, std::string_view text, std::size_t width);

// Fields compared as blank-padded texts, byte by byte (unsigned), case-sensitive.
bool padded_equal(std::string_view a, std::string_view b);
int padded_compare(std::string_view a, std::string_view b);

// A path put into a message: each "/" written "\/", so that the message layer does not take it
// for a line break.
std::string escape_slashes(std::string_view path);
// The lines of a message: each "/" a line break, each "\/" a "/".
std::string slashes_to_lines(std::string_view message);

// Position of the last folder separator of a local path: "\", and also "/" where it separates
// folders (POSIX); npos when there is none.
std::size_t last_folder_separator(std::string_view path);

}  // namespace brevanto
