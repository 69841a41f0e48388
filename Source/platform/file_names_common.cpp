// Names of files as Windows users meet them: the patterns of the command line and the order
// Explorer lists names in. The same on every system, so that both builds and their tests agree.
#include <algorithm>
#include <string_view>
#include <utility>

#include "chars.hpp"
#include "pattern_match.hpp"
#include "platform.hpp"

namespace platform {
namespace {

// The letter each Windows-1252 character from 0xC0 on is sorted with ("\xC9" with "E"); the
// multiplication and division signs are no letters and stand for themselves.
constexpr std::string_view kBaseLetters =
    "AAAAAAACEEEEIIIIDNOOOOO\xD7OUUUUYTSAAAAAAACEEEEIIIIDNOOOOO\xF7OUUUUYTY";
static_assert(kBaseLetters.size() == 0x100 - 0xC0);

// Where a character stands in the order: its class (0 blanks and punctuation, 1 digits,
// 2 letters), then its letter without accent or case, or its byte.
std::pair<int, int> sort_key(char c) {
  auto u = static_cast<unsigned char>(c);
  if (u >= 0xC0) {
    u = static_cast<unsigned char>(kBaseLetters[u - 0xC0]);
  } else if (u == 0x8A || u == 0x9A) {
    u = 'S';
  } else if (u == 0x8C || u == 0x9C) {
    u = 'O';
  } else if (u == 0x8E || u == 0x9E) {
    u = 'Z';
  } else if (u == 0x9F) {
    u = 'Y';
  }
  u = static_cast<unsigned char>(upper_1252(static_cast<char>(u)));
  if (is_ascii_upper(static_cast<char>(u))) return {2, u};
  if (is_digit(static_cast<char>(u))) return {1, u};
  return {0, u};
}

std::size_t digits_end(std::string_view s, std::size_t from) {
  while (from < s.size() && is_digit(s[from]))
    ++from;
  return from;
}

// The value of a run of digits as a text without its leading zeros: a longer one is greater,
// and two of the same length compare as texts, whatever their number of digits.
std::string_view without_leading_zeros(std::string_view digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

int compare_names(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (is_digit(a[i]) && is_digit(b[j])) {
      const std::size_t end_a = digits_end(a, i);
      const std::size_t end_b = digits_end(b, j);
      const std::string_view na = without_leading_zeros(a.substr(i, end_a - i));
      const std::string_view nb = without_leading_zeros(b.substr(j, end_b - j));
      if (na.size() != nb.size()) return na.size() < nb.size() ? -1 : 1;
      if (const int c = na.compare(nb); c != 0) return c;
      i = end_a;
      j = end_b;
      continue;
    }
    const auto ka = sort_key(a[i]);
    const auto kb = sort_key(b[j]);
    if (ka != kb) return ka < kb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;  // the name that ends first comes first
  if (j < b.size()) return -1;
  return 0;
}

}  // namespace

bool matches_pattern(std::string_view name, std::string_view pattern) {
  return match_pattern(name, pattern,
                       [](char a, char b) { return upper_1252(a) == upper_1252(b); });
}

bool file_name_less(std::string_view a, std::string_view b) {
  // The names first, then the extensions: "Day.fpl" before "Day 2.fpl", as Explorer has it.
  const std::size_t dot_a = std::min(a.rfind('.'), a.size());
  const std::size_t dot_b = std::min(b.rfind('.'), b.size());
  int c = compare_names(a.substr(0, dot_a), b.substr(0, dot_b));
  if (c == 0) c = compare_names(a.substr(dot_a), b.substr(dot_b));
  return c != 0 ? c < 0 : a < b;
}

}  // namespace platform
