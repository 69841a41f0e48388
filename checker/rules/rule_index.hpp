// The index of the constraint table: for a plan line's key, the few constraints whose key may
// select it, so that a line is not compared with every rule of the table. Rule keys are
// classified once, when the rules file has been read (RuleIndex, part of the table). The check
// of a run looks keys up through a RuleLookup, which follows the plan's section and its finish
// turnpoint: a finish key ("|") stands, for each plan, for that plan's last turnpoint, while the
// table keeps it as read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "value_primitives.hpp"

namespace brevanto {

struct ConstraintTable;

class RuleIndex {
 public:
  // Classifies the constraints 1 to check_num of `table`.
  void build(const ConstraintTable& table);

  // Some key ends with "$", "?" or "%": the plan's number of turnpoints is needed.
  bool turnpoint_wildcards() const { return turnpoint_wildcards_; }

 private:
  friend class RuleLookup;

  // A test on a key: equal to `text`, beginning with it, or any key.
  enum class Match { equal, begins, any };
  struct Filter {
    int rule = 0;
    std::string text;
    Match match = Match::any;
  };

  // Texts and what is filed under each, found by hashing (open addressing).
  template <typename T>
  class TextTable {
   public:
    // What is filed under `text`, whose hash() is `h`, added when missing (then `added`).
    T& file(std::string_view text, std::uint64_t h, bool& added);
    // Null when nothing is.
    const T* find(std::string_view text, std::uint64_t h) const;
    std::size_t size() const { return entries_.size(); }
    void clear();

   private:
    struct Entry {
      std::string text;
      std::uint64_t hash;  // of text: most texts met in a search are told apart by it
      T value;
    };
    std::size_t slot_of(std::string_view text, std::uint64_t h) const;
    std::vector<Entry> entries_;
    std::vector<std::int32_t> slots_;  // an index into entries_, or -1
  };

  static bool passes(Match match, std::string_view text, std::string_view key) {
    return match == Match::any || (match == Match::equal ? key == text : key.starts_with(text));
  }
  static std::uint64_t hash(std::string_view text);
  // The candidates from the rules that do not change with the plan or the section, in order.
  void fixed_candidates(std::string_view key, std::uint64_t h, std::vector<int>& out) const;

  TextTable<std::vector<int>> plain_;       // plain keys
  TextTable<std::vector<Filter>> by_head_;  // "begins" filters by their first kHead characters
  std::vector<Filter> short_;               // "begins" filters shorter than kHead, and "any"
  std::vector<Filter> sectioned_;           // section-qualified keys, their section included
  std::vector<int> finish_;                 // constraints whose key is a finish key
  bool turnpoint_wildcards_ = false;
};

// The key a rule has for the plan being checked, and what it selects.
struct RuleKey {
  std::string_view key;
  KeyPattern pattern;
  bool sectioned = false;  // compared with the current section followed by the line's key
};

// The lookups of one run's check, plan after plan. It keeps what the index gave for each key
// met, so a league's plans, which use the same few hundred keys, cost one search per key.
class RuleLookup {
 public:
  explicit RuleLookup(const ConstraintTable& table);

  // A new plan, whose last turnpoint (the finish) is `finish`; none when the plan has no
  // readable Count: its finish rules then select nothing.
  void start_plan(std::optional<long long> finish);

  // The section header the scan has reached (blank before the first): the section-qualified
  // keys are compared with it followed by the line's key.
  void enter_section(std::string_view section);

  // Into `out`, in table order: every constraint whose key may select the line key `key` under
  // the current section, and every one whose key is misplaced (it is to say so on each line).
  // More may come than match: each is still to be matched with its pattern.
  void candidates(std::string_view key, std::vector<int>& out);

  // Rule `rule`'s key for the current plan: as read, or, for a finish key, ending with the
  // plan's finish turnpoint. None for a finish key of a plan without finish.
  std::optional<RuleKey> key_of(int rule) const;

 private:
  // What a plan key met so far gives.
  struct KnownKey {
    std::vector<int> fixed;   // the rules that do not change with the plan, in table order
    std::uint64_t plan = 0;   // the plan whose finish keys `finish` holds
    std::vector<int> finish;  // the finish keys of that plan that are this key
  };
  struct LiveFilter {
    std::size_t filter;  // in the index's sectioned_
    std::size_t from;    // where the part of its text that the section header leaves begins
    RuleIndex::Match match;
  };
  // A finish rule's key for the current plan.
  struct FinishKey {
    std::string key;
    KeyPattern pattern;
  };

  // The entry of a plan key, made when the key is first met.
  KnownKey& known(std::string_view key, std::uint64_t h);
  void file_finish_key(std::string_view key, int rule);

  const ConstraintTable& table_;
  const RuleIndex& index_;
  std::vector<LiveFilter> live_;          // filters the current section header leaves possible
  RuleIndex::TextTable<KnownKey> known_;  // the plan keys met so far
  std::uint64_t plan_ = 0;                // counts the plans
  bool has_finish_ = false;               // the current plan has a finish turnpoint
  std::vector<FinishKey> finish_keys_;    // for each rule of index_.finish_, in its order
  std::vector<int> finish_slot_;          // by rule: its place in finish_keys_, or -1
  std::vector<std::pair<std::string, int>> finish_plain_;  // this plan's plain finish keys
  std::vector<int> finish_other_;                          // its other finish keys
};

}  // namespace brevanto
