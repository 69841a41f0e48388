#include "rule_usage.hpp"

#include <string>

#include "fixed_text.hpp"
#include "to_char.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view rule, never_matches, unused_heading, none;
};
constexpr Texts kEnglish = {"*** rule ", " : its key can never match a flight-plan key ***",
                            "Rules that matched no line of any checked plan:", "  none"};
constexpr Texts kFrench = {
    "*** r\xE8gle ", " : sa cl\xE9 ne peut correspondre \xE0 aucune cl\xE9 de plan de vol ***",
    "R\xE8gles qui ne correspondent \xE0 aucune ligne des plans v\xE9rifi\xE9s :", "  aucune"};

const Texts& texts(Language language) {
  return language == Language::french ? kFrench : kEnglish;
}

}  // namespace

bool key_can_never_match(std::string_view check_key) {
  check_key = trim_right(check_key);
  // "[Section]Key" is compared with the plan's section header followed by the line's key: the
  // header is any line the plan begins with "[", so only what follows the "]" is a plan key.
  std::string_view plan_key = check_key;
  if (check_key.starts_with('[')) {
    const std::size_t close = check_key.find(']');
    if (close != std::string_view::npos) {
      plan_key = check_key.substr(close + 1);
      if (plan_key.empty()) return true;
    }
  }
  if (plan_key.find('=') != std::string_view::npos) return true;
  // The matcher sees a finish key with its "|" made the finish turnpoint's number.
  std::string matched(check_key);
  if (matched.ends_with('|')) matched.back() = '1';
  return key_pattern(matched).kind == KeyPattern::Kind::misplaced;
}

void report_useless_rules(ReportSink& sink, const ConstraintTable& table, Language language) {
  const Texts& t = texts(language);
  for (int i = 1; i <= table.check_num; ++i) {
    if (!key_can_never_match(table[i].check_key)) continue;
    sink.report_line(std::string(t.rule) + i2b(i) + " : " + table[i].line_as_written +
                     std::string(t.never_matches));
  }
}

void report_unused_rules(ReportSink& sink, const ConstraintTable& table,
                         const RulesApplied& applied, Language language) {
  const Texts& t = texts(language);
  sink.report_line(std::string(78, '-'));
  sink.report_line(t.unused_heading);
  bool any = false;
  for (int i = 1; i <= table.check_num; ++i) {
    if (applied.rule_applied(i)) continue;
    any = true;
    sink.report_line("  " + i2b(i) + " : " + table[i].line_as_written);
  }
  if (!any) sink.report_line(t.none);
}

}  // namespace brevanto
