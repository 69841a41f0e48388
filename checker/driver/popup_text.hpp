// The texts of the check run's popups: the list of a plan's violations (popup mode 3) and the
// summary of all plans (popup mode 1), each within the room a message box has. What no longer
// fits is replaced, once, by the see-file text.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "console.hpp"
#include "language.hpp"

namespace brevanto {

// The see-file text, in French and in English: what a popup shows in place of the report lines
// that no longer fit. seefile_text() picks the one of a language.
inline constexpr std::array<std::string_view, 2> seefile = {"... Voir le fichier Brevanto.log",
                                                            "... See file Brevanto.log"};
std::string_view seefile_text(Language language);

// A plan's violations as its popup lists them: each after a line feed and "-", as long as the
// list stays shorter than 421 characters less the length of the plan's name as the popup shows
// it and of the line; then the see-file text, once. The lines are kept as the popup shows them
// (their slashes not escaped), so that the room counts a "/" once.
class ViolationList {
 public:
  // `name_length`: the plan's name as its popup shows it; `see_file`: the language of the
  // see-file text; with `verbose`, each line's room is written on `trace`.
  ViolationList(Console& trace, bool verbose, Language see_file, std::size_t name_length)
      : trace_(trace),
        verbose_(verbose),
        see_file_(see_file),
        name_length_(static_cast<int>(name_length)) {}

  void add(const std::string& line);
  const std::string& text() const { return text_; }

 private:
  Console& trace_;
  bool verbose_;
  Language see_file_;
  int name_length_;
  std::string text_;
};

// The summary popup of popup mode 1: for each plan its name and its result, as long as they fit
// in 500 characters; then the see-file text, once.
class SummaryText {
 public:
  explicit SummaryText(Language see_file) : see_file_(see_file) {}
  // `name_length`: the length of the plan's name as counted for its room.
  void add(const std::string& short_name, std::size_t name_length, const std::string& result);
  const std::string& text() const { return text_; }

 private:
  Language see_file_;
  std::string text_;
};

}  // namespace brevanto
