// Splitting of Key=Value lines, rule lines (Key<relation>Value) and lists. The routines know
// nothing of sections, comments or case: callers skip comments and compare keys themselves.
// Output fields have the given width (text cut there, trailing blanks dropped).
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "fixed_text.hpp"

namespace brevanto {

// The relations of a rule line, in table order; a two-character relation comes after the
// one-character relations it contains, which is what makes the last match the right one.
inline constexpr std::array<std::string_view, 7> reltxt = {"=", "!=", "<", "<=", ">", ">=", "[]"};

// Splits at the first "=" (else the first ":"); key and value left-justified. Without either,
// the key is the whole line (leading blanks kept) and the value blank.
void extract_key_val(std::string_view line, std::string& key, std::string& val,
                     std::size_t width = kKeyLen);

// The same key and value as parts of the line itself, for a line read and split once.
struct KeyVal {
  std::string_view key, val;
};
KeyVal split_key_val(std::string_view line, std::size_t width = kKeyLen);

// Splits at the relation of `reltxt` that comes last in table order among those occurring in
// the line, at that relation's first occurrence. `rel` receives the relation ("=", "<=", ...);
// without any, the key is the whole line and value and relation are blank.
void extract_key_val_rel(std::string_view line, std::string& key, std::string& val,
                         std::string& rel, std::size_t width = kKeyLen);

// Takes the first item of the list `val` (separated by the first character of `sep`; a
// separator inside double quotes does not count) into `item`, left-justified and cut at
// `item_width`; `val` keeps the rest of the list, not left-justified.
void extract_list(std::string& val, std::string& item, std::string_view sep,
                  std::size_t item_width);

// Kept for completeness: the program does not call it.
// extract_list with the separator ",".
void extract_comma(std::string& val, std::string& item, std::size_t item_width);

// Kept for completeness: the program does not call it.
// Splits the whole list into `lst` (items cut at `item_width`), stopping at the first blank
// item; `nb_lst` is the number of items stored and `val` is consumed.
void read_list(std::string& val, int& nb_lst, std::vector<std::string>& lst, std::size_t item_width,
               std::string_view sep);

}  // namespace brevanto
