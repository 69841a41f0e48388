// The index of the constraint table: for a plan line's key, the few constraints whose key may
// select it, so that a line is not compared with every rule of the table. Rule keys are
// classified once, when the rules file has been read: a plain key goes into a hash index, a key
// ending with a wildcard is kept with its literal prefix, a key qualified by a section with that
// section. The finish keys ("|"), which each plan replaces with its own finish turnpoint, are
// indexed again for each plan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
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
  void candidates(std::string_view key, std::vector<int>& out);

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

  // Texts and what is filed under each, found by hashing (open addressing).
  template <typename T>
  class TextTable {
   public:
    std::vector<T>& file(std::string_view text);
    // What is filed under `text`, whose hash() is `h`; null when nothing.
    const std::vector<T>* find(std::string_view text, std::uint64_t h) const;
    bool empty() const { return entries_.empty(); }
    std::size_t size() const { return entries_.size(); }
    void clear();

   private:
    struct Entry {
      std::string text;
      std::uint64_t hash;  // of text: most texts met in a search are told apart by it
      std::vector<T> items;
    };
    std::size_t slot_of(std::string_view text, std::uint64_t h) const;
    std::vector<Entry> entries_;
    std::vector<std::int32_t> slots_;  // an index into entries_, or -1
  };

  static bool passes(Match match, std::string_view text, std::string_view key);
  static std::uint64_t hash(std::string_view text);
  // The candidates from the rules that do not change with the plan or the section, in order.
  void fixed_candidates(std::string_view key, std::uint64_t h, std::vector<int>& out) const;

  TextTable<int> plain_;           // plain keys
  TextTable<Filter> by_head_;      // "begins" filters by their first kHead characters
  std::vector<Filter> short_;      // "begins" filters shorter than kHead, and "any"
  std::vector<Filter> sectioned_;  // section-qualified keys, their section included
  std::vector<LiveFilter> live_;   // those the current section header leaves possible
  std::vector<int> finish_;        // constraints whose key is a finish key
  TextTable<int> by_key_;          // fixed candidates of the plan keys met so far
  TextTable<int> finish_plain_;    // those whose key is plain for this plan
  std::vector<int> finish_other_;  // the others
  bool turnpoint_wildcards_ = false;
};

}  // namespace brevanto
