#include "findings.hpp"

namespace brevanto {

void FindingsRecord::begin_plan(std::string path, std::string shown) {
  PlanFindings plan;
  plan.path = std::move(path);
  plan.shown = std::move(shown);
  plans_.push_back(std::move(plan));
}

void FindingsRecord::end_plan(long long violations, PlanOutcome outcome) {
  if (plans_.empty()) return;
  plans_.back().outcome = outcome;
  plans_.back().violations = violations;
}

void FindingsRecord::add(Finding finding) {
  if (!plans_.empty()) plans_.back().findings.push_back(std::move(finding));
}

void RulesApplied::rule_applies(int rule) {
  if (rule > 0 && static_cast<std::size_t>(rule) < applied_.size()) {
    applied_[static_cast<std::size_t>(rule)] = true;
  }
}

bool RulesApplied::rule_applied(int rule) const {
  return rule > 0 && static_cast<std::size_t>(rule) < applied_.size() &&
         applied_[static_cast<std::size_t>(rule)];
}

}  // namespace brevanto
