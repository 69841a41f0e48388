#include "rule_usage.hpp"

#include <string>

#include "fixed_text.hpp"
#include "to_char.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view unused_heading, none;
};
constexpr Texts kEnglish = {"Rules that matched no line of any checked plan:", "  none"};
constexpr Texts kFrench = {
    "R\xE8gles qui ne correspondent \xE0 aucune ligne des plans v\xE9rifi\xE9s :", "  aucune"};

const Texts& texts(Language language) {
  return language == Language::french ? kFrench : kEnglish;
}

}  // namespace

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
