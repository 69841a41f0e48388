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
#include <utility>
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
  // A test on a key: equal to `text`, beginning with it, or any key.
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
  // What a plan key met so far gives.
  struct KnownKey {
    std::vector<int> fixed;   // the rules that do not change with the plan, in table order
    std::uint64_t plan = 0;   // the plan whose finish keys `finish` holds
    std::vector<int> finish;  // the finish keys of that plan that are this key
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
  // The entry of a plan key, made when the key is first met.
  KnownKey& known(std::string_view key, std::uint64_t h);
  void file_finish_key(std::string_view key, int rule);

  TextTable<std::vector<int>> plain_;       // plain keys
  TextTable<std::vector<Filter>> by_head_;  // "begins" filters by their first kHead characters
  std::vector<Filter> short_;               // "begins" filters shorter than kHead, and "any"
  std::vector<Filter> sectioned_;           // section-qualified keys, their section included
  std::vector<LiveFilter> live_;            // those the current section header leaves possible
  std::vector<int> finish_;                 // constraints whose key is a finish key
  TextTable<KnownKey> known_;               // the plan keys met so far
  std::uint64_t plan_ = 0;                  // counts the indexings of the finish keys
  std::vector<std::pair<std::string, int>> finish_plain_;  // this plan's plain finish keys
  std::vector<int> finish_other_;                          // the other finish keys
  bool turnpoint_wildcards_ = false;
};

}  // namespace brevanto
