#include "MajMin.hpp"

#include "chars.hpp"
#include "fixed_text.hpp"

namespace brevanto {

using platform::ascii_upper;

void majusc(std::string& text) {
  for (char& c : text)
    c = ascii_upper(c);
}

bool case_blind_compare(std::string_view s1, std::string_view s2) {
  s1 = trim_right(s1);
  s2 = trim_right(s2);
  if (s1.size() != s2.size()) return false;
  for (std::size_t i = 0; i < s1.size(); ++i) {
    if (ascii_upper(s1[i]) != ascii_upper(s2[i])) return false;
  }
  return true;
}

}  // namespace brevanto
