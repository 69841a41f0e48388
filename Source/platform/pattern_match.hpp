// The match of a name against a pattern of the command line, for the program's Windows-1252
// names and for the system's UTF-16 ones alike.
#pragma once

#include <string_view>

namespace platform {

// Whether the whole of `name` matches `pattern`: "*" stands for any run of characters, "?" for
// one character, and `same(a, b)` tells whether two other characters match.
template <typename Char, typename Same>
bool match_pattern(std::basic_string_view<Char> name, std::basic_string_view<Char> pattern,
                   Same same) {
  std::size_t n = 0;
  std::size_t p = 0;
  // The last "*" met and the position in the name it stood for: on a mismatch it takes one
  // character more.
  std::size_t star = std::basic_string_view<Char>::npos;
  std::size_t star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == Char('*')) {
      star = p++;
      star_n = n;
    } else if (p < pattern.size() && (pattern[p] == Char('?') || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (star != std::basic_string_view<Char>::npos) {
      p = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == Char('*'))
    ++p;
  return p == pattern.size();
}

}  // namespace platform
