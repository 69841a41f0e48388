#include "judgement.hpp"

#include <cmath>
#include <string>

#include "extract_key_val.hpp"
#include "fixed_text.hpp"

namespace brevanto {

namespace {

// -1, 0 or 1 as `a` is below, equal to or above `b`; 2 when they are unordered (a NaN).
int order(double a, double b) {
  return a < b ? -1 : (a > b ? 1 : (a == b ? 0 : 2));
}

// `cmp` is -1, 0 or 1; 2 for unordered values (a NaN), which satisfy only "!=".
bool relation_holds(std::string_view rel, int cmp) {
  if (rel == "=") return cmp == 0;
  if (rel == "!=") return cmp != 0;
  if (cmp == 2) return false;
  if (rel == "<") return cmp < 0;
  if (rel == "<=") return cmp <= 0;
  if (rel == ">") return cmp > 0;
  if (rel == ">=") return cmp >= 0;
  return false;
}

// "=" against the alternatives of a ";" list, up to its first blank item.
bool in_list(Console& trace, const Constraint& rule, std::string_view val) {
  std::string rest = rule.check_val;
  std::string item;
  bool satisfied = false;
  for (;;) {
    extract_list(rest, item, ";", 200);
    trace.trace(item);
    if (trim_right(item).empty()) break;
    // The last item keeps the blank written after its ";": a plan value never begins with one.
    if (padded_equal(val, trim_left(item))) satisfied = true;
  }
  return satisfied;
}

Judgement verdict(bool satisfied) {
  return satisfied ? Judgement::holds : Judgement::violated;
}

}  // namespace

Judgement judge(Console& trace, const Constraint& rule, const TypedValue& plan_value,
                std::string_view val, float fltpntacy, bool verbose) {
  const std::string& rel = rule.check_rel;
  if (rel == "[]") {
    const std::size_t at = val.find(rule.check_val);
    if (verbose) trace.trace(at == std::string_view::npos ? 0 : static_cast<int>(at) + 1);
    return verdict(at != std::string_view::npos);
  }
  if (plan_value.typ == 'C' && rule.check_typ == 'C') {
    if (rel == "=" && rule.check_val.find(';') != std::string::npos) {
      return verdict(in_list(trace, rule, val));
    }
    return verdict(relation_holds(rel, padded_compare(val, rule.check_val)));
  }
  if (plan_value.typ == 'C' || rule.check_typ == 'C') return Judgement::incompatible;
  if (rel == "=") {
    if (plan_value.typ == 'I' && rule.check_typ == 'I') {
      return verdict(plan_value.ival == rule.check_int);
    }
    if (plan_value.typ == 'R' && rule.check_typ == 'I') {
      return verdict(std::round(static_cast<double>(plan_value.fval)) ==
                     static_cast<double>(rule.check_int));
    }
    const float v = plan_value.typ == 'I' ? static_cast<float>(plan_value.ival) : plan_value.fval;
    return verdict(flt_eq(trace, v, rule.check_flt, fltpntacy));
  }
  // Exact values: every 32-bit integer and real is exact as a double.
  const double plan_number =
      plan_value.typ == 'I' ? plan_value.ival : static_cast<double>(plan_value.fval);
  const double rule_number =
      rule.check_typ == 'I' ? rule.check_int : static_cast<double>(rule.check_flt);
  return verdict(relation_holds(rel, order(plan_number, rule_number)));
}

}  // namespace brevanto
