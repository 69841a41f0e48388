// The index of the constraint table: for a plan line's key, the few constraints whose key may
// select it, so that a line is not compared with every rule of the table. Rule keys are
// classified once, when the rules file has been read: a plain key goes into a hash index, a key
// ending with a wildcard is kept with its literal prefix, a key qualified by a section with that
// section. The finish keys ("|"), which each plan replaces with its own finish turnpoint, are
// indexed again for each plan.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace brevanto {

struct ConstraintTable;

class RuleIndex {
 public:
  // Classifies the constraints 1 to check_num of `table`, their finish keys ending with "|".
  void build(const ConstraintTable& table);

  // Indexes the finish keys as they stand now in `table`: replaced for the current plan, or as
  // read.
  void index_finish_keys(const ConstraintTable& table);

  // The section header the scan has reached (blank before the first): the section-qualified
  // keys are compared with it followed by the line's key.
  void enter_section(std::string_view section);

  // Into `out`, in table order: every constraint whose key may select the line key `key` under
  // the current section, and every one whose key is misplaced (it is to say so on each line).
  // More may come than match: each is still to be matched with its pattern.
  void candidates(std::string_view key, std::vector<int>& out) const;

  // Some key ends with "$", "?" or "%": the plan's number of turnpoints is needed.
  bool turnpoint_wildcards() const { return turnpoint_wildcards_; }

 private:
  // A test on a key: equal to `text` from `from` on, beginning with it, or any key.
  enum class Match { equal, begins, any };
  struct Filter {
    int rule = 0;
    std::string text;
    Match match = Match::any;
  };
  struct LiveFilter {
    std::size_t filter;  // in sectioned_
    std::size_t from;    // where the part of its text that the section header leaves begins
    Match match;
  };
  struct FinishKey {
    int rule = 0;
    bool plain = false;  // indexed under `key` in plain_ for the current plan
    std::string key;
  };
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  template <typename T>
  using TextMap = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

  static bool passes(Match match, std::string_view text, std::string_view key);

  TextMap<std::vector<int>> plain_;       // plain keys, finish keys of the plan included
  TextMap<std::vector<Filter>> by_head_;  // "begins" filters by their first kHead characters
  std::vector<Filter> short_;             // "begins" filters shorter than kHead, and "any"
  std::vector<Filter> sectioned_;         // section-qualified keys, their section included
  std::vector<LiveFilter> live_;          // those the current section header leaves possible
  std::vector<FinishKey> finish_;         // constraints whose key is a finish key
  std::vector<int> finish_other_;         // those whose key is not plain for this plan
  bool turnpoint_wildcards_ = false;
};

}  // namespace brevanto
