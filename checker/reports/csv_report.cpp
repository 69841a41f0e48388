#include "csv_report.hpp"

#include <string_view>

#include "chars.hpp"
#include "encoding.hpp"
#include "finding_text.hpp"

namespace brevanto {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kHeader =
    "plan,line,key,value,relation,expected,verdict,turnpoint,weather_zone";

// "-200", "+1.5", "2.5E3": what a spreadsheet takes for a number, never for a formula.
bool is_plain_number(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  for (; i < s.size() && platform::is_digit(s[i]); ++i)
    ++digits;
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && platform::is_digit(s[i]); ++i)
      ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (i == s.size() || !platform::is_digit(s[i])) return false;
    while (i < s.size() && platform::is_digit(s[i]))
      ++i;
  }
  return i == s.size();
}

// A text from a plan or a rule as a field: data, never a formula.
std::string text_field(std::string_view text) {
  std::string field;
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos &&
      !is_plain_number(text)) {
    field = "'";
  }
  field += text;
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (const char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string number_field(long long n) {
  return n >= 0 ? std::to_string(n) : std::string();
}

std::string_view verdict_text(Verdict v) {
  switch (v) {
    case Verdict::violation:
      return "violation";
    case Verdict::incompatible:
      return "incompatible";
    case Verdict::missing:
      return "missing";
    case Verdict::finish_unknown:
      return "finish unknown";
    case Verdict::not_a_plan:
      return "not a plan";
    case Verdict::ok:
      break;
  }
  return "ok";
}

void add_row(std::string& out, std::initializer_list<std::string_view> fields) {
  bool first = true;
  for (const std::string_view f : fields) {
    if (!first) out += ',';
    out += f;
    first = false;
  }
  out += "\r\n";
}

}  // namespace

std::string csv_report(const FindingsRecord& record) {
  std::string out;
  add_row(out, {kHeader});
  for (const PlanFindings& plan : record.plans()) {
    const std::string name = text_field(plan.shown);
    for (const Finding& f : plan.findings) {
      add_row(out, {name, number_field(f.line), text_field(f.key), text_field(f.value), f.relation,
                    text_field(expected_text(f)), verdict_text(f.verdict),
                    number_field(f.turnpoint), number_field(f.weather_zone)});
    }
    // The plan's own row, when no finding says how it went.
    std::string_view verdict;
    switch (plan.outcome) {
      case PlanOutcome::unreadable:
        verdict = "unreadable";
        break;
      case PlanOutcome::skipped:
        verdict = "skipped";
        break;
      case PlanOutcome::not_a_plan:  // its finding says so
        break;
      case PlanOutcome::checked:
        if (plan.violations == 0) verdict = "clean";
        break;
    }
    if (!verdict.empty()) add_row(out, {name, "", "", "", "", "", verdict, "", ""});
  }
  return std::string(kBom) + platform::cp1252_to_utf8(out);
}

}  // namespace brevanto
