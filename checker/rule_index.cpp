#include "rule_index.hpp"

#include <algorithm>

#include "fixed_text.hpp"
#include "rules_file.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

// Keys with a wildcard are found by the first characters of their prefix.
constexpr std::size_t kHead = 4;

bool is_turnpoint_wildcard(char c) {
  return c == '$' || c == '?' || c == '%';
}

}  // namespace

bool RuleIndex::passes(Match match, std::string_view text, std::string_view key) {
  switch (match) {
    case Match::equal:
      return key == text;
    case Match::begins:
      return key.starts_with(text);
    case Match::any:
      break;
  }
  return true;
}

void RuleIndex::build(const ConstraintTable& table) {
  *this = RuleIndex{};
  for (int i = 1; i <= table.check_num; ++i) {
    const Constraint& c = table[i];
    const std::string& key = c.key_as_read;
    if (key.ends_with('|')) {
      finish_.push_back(FinishKey{i, false, std::string()});
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
      plain_[f.text].push_back(i);
    } else if (f.match == Match::begins && f.text.size() >= kHead) {
      by_head_[f.text.substr(0, kHead)].push_back(std::move(f));
    } else {
      short_.push_back(std::move(f));
    }
  }
  index_finish_keys(table);
  enter_section("");
}

void RuleIndex::index_finish_keys(const ConstraintTable& table) {
  finish_other_.clear();
  for (FinishKey& finish : finish_) {
    if (finish.plain) {
      const auto at = plain_.find(finish.key);
      std::vector<int>& rules = at->second;
      rules.erase(std::find(rules.begin(), rules.end(), finish.rule));
      if (rules.empty()) plain_.erase(at);
      finish.plain = false;
    }
    const Constraint& c = table[finish.rule];
    if (c.sectioned || c.key_pattern.kind != KeyPattern::Kind::plain) {
      finish_other_.push_back(finish.rule);
      continue;
    }
    finish.key.assign(c.check_key, 0, c.key_pattern.prefix);
    finish.plain = true;
    plain_[finish.key].push_back(finish.rule);  // candidates() sorts
  }
}

void RuleIndex::enter_section(std::string_view section) {
  live_.clear();
  for (std::size_t i = 0; i < sectioned_.size(); ++i) {
    const Filter& f = sectioned_[i];
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

void RuleIndex::candidates(std::string_view key, std::vector<int>& out) const {
  out.clear();
  key = trim_right(key);
  if (const auto at = plain_.find(key); at != plain_.end()) {
    out.insert(out.end(), at->second.begin(), at->second.end());
  }
  if (key.size() >= kHead) {
    if (const auto at = by_head_.find(key.substr(0, kHead)); at != by_head_.end()) {
      for (const Filter& f : at->second) {
        if (key.starts_with(f.text)) out.push_back(f.rule);
      }
    }
  }
  for (const Filter& f : short_) {
    if (passes(f.match, f.text, key)) out.push_back(f.rule);
  }
  for (const LiveFilter& live : live_) {
    const Filter& f = sectioned_[live.filter];
    if (passes(live.match, std::string_view(f.text).substr(live.from), key)) {
      out.push_back(f.rule);
    }
  }
  out.insert(out.end(), finish_other_.begin(), finish_other_.end());
  if (out.size() > 1) std::sort(out.begin(), out.end());
}

}  // namespace brevanto
