// Character tests and case changes of the program's Windows-1252 texts. They never depend on the
// C library's locale: only the ASCII digits and letters count as such, and the accented letters
// change case only where Windows compares file names.
#pragma once

namespace platform {

constexpr bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// The C0 controls but the tab, DEL, and the five bytes Windows-1252 leaves undefined, which
// become C1 controls in UTF-8: they mean nothing in a text, and CSV readers and HTML parsers
// refuse some of them (NUL).
constexpr bool is_control_1252(char c) {
  const auto b = static_cast<unsigned char>(c);
  return (b < 0x20 && b != '\t') || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 ||
         b == 0x9D;
}

constexpr bool is_ascii_upper(char c) {
  return c >= 'A' && c <= 'Z';
}

constexpr bool is_ascii_lower(char c) {
  return c >= 'a' && c <= 'z';
}

constexpr bool is_ascii_letter(char c) {
  return is_ascii_upper(c) || is_ascii_lower(c);
}

// "a" to "z" in upper case; every other byte, accented letters included, unchanged.
constexpr char ascii_upper(char c) {
  return is_ascii_lower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

// "A" to "Z" in lower case; every other byte unchanged.
constexpr char ascii_lower(char c) {
  return is_ascii_upper(c) ? static_cast<char>(c - 'A' + 'a') : c;
}

// A letter in upper case as Windows compares file names: the ASCII letters, the accented letters
// 0xE0 to 0xFE (not the division sign 0xF7), and the pairs of the 0x80 row: \x9A/\x8A,
// \x9C/\x8C, \x9E/\x8E, \xFF/\x9F.
constexpr char upper_1252(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (is_ascii_lower(c) || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) {
    return static_cast<char>(u - 0x20);
  }
  if (u == 0x9A || u == 0x9C || u == 0x9E) return static_cast<char>(u - 0x10);
  if (u == 0xFF) return '\x9F';
  return c;
}

}  // namespace platform
