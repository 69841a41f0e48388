#include "rule_index.hpp"

#include <algorithm>
#include <cstring>

#include "fixed_text.hpp"
#include "rules_file.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

// Keys with a wildcard are found by the first characters of their prefix.
constexpr std::size_t kHead = 4;
// Plan keys whose candidates are kept: far more than a league's plans use, and a bound on the
// memory that plans with ever new keys can take (the memory is emptied when full).
constexpr std::size_t kKnownKeys = 4096;

bool is_turnpoint_wildcard(char c) {
  return c == '$' || c == '?' || c == '%';
}

}  // namespace

std::uint64_t RuleIndex::hash(std::string_view text) {
  // Eight characters at a time: keys are short, and one is looked up per plan line.
  constexpr std::uint64_t k = 0x9E3779B97F4A7C15u;
  const char* p = text.data();
  const std::size_t n = text.size();
  const auto word = [p](std::size_t at) {
    std::uint64_t w = 0;
    std::memcpy(&w, p + at, sizeof w);
    return w;
  };
  std::uint64_t h = n * k;
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8)
      h = ((h ^ word(i)) * k) ^ (h >> 29);
    h ^= word(n - 8);  // the last eight, which may overlap the words before
  } else {
    for (std::size_t i = 0; i < n; ++i)
      h ^= static_cast<std::uint64_t>(static_cast<unsigned char>(p[i])) << (8 * i);
  }
  // Every character must reach the low bits, which choose the slot: turnpoint keys differ in
  // their last ones only.
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDu;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53u;
  return h ^ (h >> 33);
}

template <typename T>
std::size_t RuleIndex::TextTable<T>::slot_of(std::string_view text, std::uint64_t h) const {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = static_cast<std::size_t>(h) & mask;
  for (;; i = (i + 1) & mask) {
    if (slots_[i] < 0) return i;
    const Entry& e = entries_[static_cast<std::size_t>(slots_[i])];
    if (e.hash == h && e.text == text) return i;
  }
}

template <typename T>
const T* RuleIndex::TextTable<T>::find(std::string_view text, std::uint64_t h) const {
  if (entries_.empty()) return nullptr;
  const std::int32_t at = slots_[slot_of(text, h)];
  return at < 0 ? nullptr : &entries_[static_cast<std::size_t>(at)].value;
}

template <typename T>
T& RuleIndex::TextTable<T>::file(std::string_view text, std::uint64_t h, bool& added) {
  // At most half the slots in use, so that a search ends soon at an empty one.
  if (2 * (entries_.size() + 1) > slots_.size()) {
    slots_.assign(slots_.empty() ? 16 : 2 * slots_.size(), -1);
    for (std::size_t e = 0; e < entries_.size(); ++e)
      slots_[slot_of(entries_[e].text, entries_[e].hash)] = static_cast<std::int32_t>(e);
  }
  const std::size_t i = slot_of(text, h);
  added = slots_[i] < 0;
  if (added) {
    slots_[i] = static_cast<std::int32_t>(entries_.size());
    entries_.push_back(Entry{std::string(text), h, T{}});
  }
  return entries_[static_cast<std::size_t>(slots_[i])].value;
}

template <typename T>
void RuleIndex::TextTable<T>::clear() {
  entries_.clear();
  slots_.assign(slots_.size(), -1);
}

void RuleIndex::build(const ConstraintTable& table) {
  *this = RuleIndex{};
  bool added = false;
  for (int i = 1; i <= table.check_num; ++i) {
    const Constraint& c = table[i];
    const std::string& key = c.check_key;
    if (key.ends_with('|')) {
      finish_.push_back(i);
      continue;
    }
    turnpoint_wildcards_ = turnpoint_wildcards_ || is_turnpoint_wildcard(key.back());
    Filter f{i, std::string(), Match::any};
    switch (c.key_pattern.kind) {
      case KeyPattern::Kind::plain:
        f = Filter{i, key.substr(0, c.key_pattern.prefix), Match::equal};
        break;
      case KeyPattern::Kind::misplaced:
        break;
      default:
        f = Filter{i, key.substr(0, c.key_pattern.prefix), Match::begins};
        break;
    }
    if (c.sectioned) {
      sectioned_.push_back(std::move(f));
    } else if (f.match == Match::equal) {
      plain_.file(f.text, hash(f.text), added).push_back(i);
    } else if (f.match == Match::begins && f.text.size() >= kHead) {
      const std::string_view head = std::string_view(f.text).substr(0, kHead);
      by_head_.file(head, hash(head), added).push_back(std::move(f));
    } else {
      short_.push_back(std::move(f));
    }
  }
}

void RuleIndex::fixed_candidates(std::string_view key, std::uint64_t h,
                                 std::vector<int>& out) const {
  out.clear();
  if (const std::vector<int>* rules = plain_.find(key, h)) {
    out.insert(out.end(), rules->begin(), rules->end());
  }
  if (key.size() >= kHead) {
    const std::string_view head = key.substr(0, kHead);
    if (const std::vector<Filter>* filters = by_head_.find(head, hash(head))) {
      for (const Filter& f : *filters) {
        if (key.starts_with(f.text)) out.push_back(f.rule);
      }
    }
  }
  for (const Filter& f : short_) {
    if (passes(f.match, f.text, key)) out.push_back(f.rule);
  }
  std::sort(out.begin(), out.end());
}

RuleLookup::RuleLookup(const ConstraintTable& table)
    : table_(table),
      index_(table.index),
      finish_keys_(table.index.finish_.size()),
      finish_slot_(static_cast<std::size_t>(table.check_num > 0 ? table.check_num : 0) + 1, -1) {
  for (std::size_t i = 0; i < index_.finish_.size(); ++i)
    finish_slot_[static_cast<std::size_t>(index_.finish_[i])] = static_cast<int>(i);
  enter_section("");
}

RuleLookup::KnownKey& RuleLookup::known(std::string_view key, std::uint64_t h) {
  if (known_.size() >= kKnownKeys && known_.find(key, h) == nullptr) {
    // Full: start afresh, with this plan's finish keys.
    known_.clear();
    for (const auto& [finish_key, rule] : finish_plain_)
      file_finish_key(finish_key, rule);
  }
  bool added = false;
  KnownKey& k = known_.file(key, h, added);
  if (added) index_.fixed_candidates(key, h, k.fixed);
  return k;
}

void RuleLookup::file_finish_key(std::string_view key, int rule) {
  KnownKey& k = known(key, RuleIndex::hash(key));
  if (k.plan != plan_) {
    k.plan = plan_;
    k.finish.clear();
  }
  k.finish.push_back(rule);
}

void RuleLookup::start_plan(std::optional<long long> finish) {
  ++plan_;
  finish_plain_.clear();
  finish_other_.clear();
  has_finish_ = finish.has_value();
  if (!has_finish_) return;
  // The finish number in full: a field of two would put "**", two wildcards, in the key.
  const std::string number = std::to_string(*finish);
  for (std::size_t i = 0; i < index_.finish_.size(); ++i) {
    const int rule = index_.finish_[i];
    const Constraint& c = table_[rule];
    FinishKey& k = finish_keys_[i];
    k.key = fit(c.check_key.substr(0, c.check_key.size() - 1) + number, kKeyLen);
    k.pattern = key_pattern(k.key);
    if (c.sectioned || k.pattern.kind != KeyPattern::Kind::plain) {
      finish_other_.push_back(rule);
    } else {
      finish_plain_.emplace_back(k.key.substr(0, k.pattern.prefix), rule);
      file_finish_key(finish_plain_.back().first, rule);
    }
  }
}

std::optional<RuleKey> RuleLookup::key_of(int rule) const {
  const Constraint& c = table_[rule];
  const int slot = finish_slot_[static_cast<std::size_t>(rule)];
  if (slot < 0) return RuleKey{c.check_key, c.key_pattern, c.sectioned};
  if (!has_finish_) return std::nullopt;
  const FinishKey& k = finish_keys_[static_cast<std::size_t>(slot)];
  return RuleKey{k.key, k.pattern, c.sectioned};
}

void RuleLookup::enter_section(std::string_view section) {
  live_.clear();
  using Match = RuleIndex::Match;
  for (std::size_t i = 0; i < index_.sectioned_.size(); ++i) {
    const RuleIndex::Filter& f = index_.sectioned_[i];
    // The key compared is the section followed by the line's key.
    if (f.match == Match::any) {
      live_.push_back(LiveFilter{i, 0, Match::any});
    } else if (f.match == Match::begins && f.text.size() <= section.size()) {
      if (section.starts_with(f.text)) live_.push_back(LiveFilter{i, 0, Match::any});
    } else if (std::string_view(f.text).starts_with(section)) {
      live_.push_back(LiveFilter{i, section.size(), f.match});
    }
  }
}

void RuleLookup::candidates(std::string_view key, std::vector<int>& out) {
  key = trim_right(key);
  const KnownKey& k = known(key, RuleIndex::hash(key));
  out.assign(k.fixed.begin(), k.fixed.end());
  if (k.plan == plan_) out.insert(out.end(), k.finish.begin(), k.finish.end());
  for (const LiveFilter& live : live_) {
    const RuleIndex::Filter& f = index_.sectioned_[live.filter];
    const std::string_view rest(f.text.data() + live.from, f.text.size() - live.from);
    if (RuleIndex::passes(live.match, rest, key)) out.push_back(f.rule);
  }
  out.insert(out.end(), finish_other_.begin(), finish_other_.end());
  if (!std::is_sorted(out.begin(), out.end())) std::sort(out.begin(), out.end());
}

}  // namespace brevanto
