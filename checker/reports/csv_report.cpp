#include "csv_report.hpp"

#include <string_view>

#include "chars.hpp"
#include "encoding.hpp"
#include "finding_text.hpp"

namespace brevanto {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kHeader[] = {
    "plan", "line", "key", "value", "relation", "expected", "verdict", "turnpoint", "weather_zone"};

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

// Whether a cell that starts at `at` (up to the next "," or ";") would read as a formula.
bool formula_at(std::string_view text, std::size_t at) {
  std::string_view cell = text.substr(at);
  cell = cell.substr(0, cell.find_first_of(",;"));
  if (cell.starts_with('\t')) return true;
  const std::size_t first = cell.find_first_not_of(" \t\"");
  if (first == std::string_view::npos) return false;
  if (std::string_view("=+-@").find(cell[first]) == std::string_view::npos) return false;
  const std::size_t last = cell.find_last_not_of(" \t\"");
  return !is_plain_number(cell.substr(first, last - first + 1));
}

// A text from a plan, a rule or a file name as a field: data, never a formula nor a control.
std::string text_field(std::string_view text, char separator) {
  std::string field;
  field.reserve(text.size() + 2);
  for (std::size_t i = 0; i <= text.size(); ++i) {
    // A cell may start here in a spreadsheet that splits at "," or ";".
    if ((i == 0 || text[i - 1] == ',' || text[i - 1] == ';') && formula_at(text, i)) field += '\'';
    if (i < text.size()) field += platform::is_control_1252(text[i]) ? '?' : text[i];
  }
  if (field.find_first_of(",;\"\t\r\n") == std::string::npos &&
      field.find(separator) == std::string::npos) {
    return field;
  }
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

}  // namespace

CsvReport::CsvReport(ReportOutput& out, char separator) : out_(out), separator_(separator) {
  out_.write(kBom);
  std::string header;
  for (const std::string_view name : kHeader)
    header.append(header.empty() ? "" : std::string_view(&separator_, 1)).append(name);
  out_.write(header + "\r\n");
}

void CsvReport::row(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (const std::string_view f : fields) {
    if (!first) line += separator_;
    line += f;
    first = false;
  }
  line += "\r\n";
  out_.write(platform::cp1252_to_utf8(line));
}

void CsvReport::plan_begun(std::string_view shown) {
  plan_ = text_field(shown, separator_);
}

void CsvReport::finding(const Finding& f) {
  row({plan_, number_field(f.line), text_field(f.key, separator_), text_field(f.value, separator_),
       text_field(f.relation, separator_), text_field(expected_text(f), separator_),
       verdict_text(f.verdict), number_field(f.turnpoint), number_field(f.weather_zone)});
}

void CsvReport::plan_ended(PlanOutcome outcome, long long violations) {
  std::string_view verdict;
  switch (outcome) {
    case PlanOutcome::unreadable:
      verdict = "unreadable";
      break;
    case PlanOutcome::skipped:
      verdict = "skipped";
      break;
    case PlanOutcome::not_a_plan:  // its finding says so
      break;
    case PlanOutcome::checked:
      if (violations == 0) verdict = "clean";
      break;
  }
  if (!verdict.empty()) row({plan_, "", "", "", "", "", verdict, "", ""});
}

std::string csv_report(const FindingsRecord& record, char separator) {
  std::string text;
  StringOutput out(text);
  CsvReport csv(out, separator);
  for (const PlanFindings& plan : record.plans()) {
    csv.plan_begun(plan.shown);
    for (const Finding& f : plan.findings)
      csv.finding(f);
    csv.plan_ended(plan.outcome, plan.violations);
  }
  return text;
}

}  // namespace brevanto
