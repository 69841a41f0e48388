#include "web_check.hpp"

#include <algorithm>
#include <unordered_map>

#include "csv_report.hpp"
#include "encoding.hpp"
#include "html_report.hpp"
#include "platform.hpp"
#include "rule_usage.hpp"
#include "rules_file.hpp"
#include "task_map.hpp"
#include "text_file.hpp"

namespace brevanto {

namespace {

// The report as the log holds it, and what the outputs need of the run: the findings recorded
// as the console program records them for its "-csv" and "-html" files.
class PageSink : public ReportSink {
 public:
  PageSink(std::string& report, FindingsRecord& record, RulesApplied& applied)
      : report_(report), record_(record), applied_(applied) {}

  void report_lines(std::initializer_list<std::string_view> lines) override {
    for (const std::string_view line : lines)
      report_.append(line).push_back('\n');
  }
  void plan_begun(const PlanReport& plan) override { record_.begin_plan(plan.path, plan.shown); }
  void finding(const Finding& finding) override { record_.add(finding); }
  void rule_applies(int rule) override { applied_.rule_applies(rule); }
  void plan_ended(const PlanReport& plan) override {
    switch (plan.result) {
      case FileResult::skipped:
        record_.skipped_file(plan.path, plan.shown);
        break;
      case FileResult::clean:
      case FileResult::invalid:
        record_.end_plan(plan.nl_nok, plan.not_a_plan);
        break;
      case FileResult::unreadable:
        break;  // the record holds a begun plan as unreadable
    }
  }

 private:
  std::string& report_;
  FindingsRecord& record_;
  RulesApplied& applied_;
};

// The plans the person chose, by name.
class ChosenPlans : public PlanSource {
 public:
  explicit ChosenPlans(const std::unordered_map<std::string_view, const std::string*>& bytes)
      : bytes_(bytes) {}

  // A name the check adds ".fpl" to opens only a file of that name, as on a disk.
  bool open_plan(const std::string& path, TextFile& plan) override {
    const auto found = bytes_.find(path);
    if (found == bytes_.end()) return false;
    plan.open_bytes(*found->second, TextFile::Decoding::detect_utf8);
    return true;
  }
  // The page reads no landscape's airspace file: the count only sizes the reading of the
  // disabled airspaces, which the check and the cloud base do not use.
  int airspace_count(const std::string& landscape) override {
    (void)landscape;
    return 0;
  }

 private:
  const std::unordered_map<std::string_view, const std::string*>& bytes_;
};

// A message's "/" starts a new line, "\/" is a "/".
std::string message_lines(std::string_view message) {
  std::string text;
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\\' && i + 1 < message.size() && message[i + 1] == '/') {
      text.push_back('/');
      ++i;
    } else {
      text.push_back(message[i] == '/' ? '\n' : message[i]);
    }
  }
  return text + "\n";
}

}  // namespace

void WebCheck::set_rules(std::string_view name, std::string bytes) {
  rules_ = File{platform::utf8_to_cp1252(name), std::move(bytes)};
}

void WebCheck::add_plan(std::string_view name, std::string bytes) {
  plans_.push_back(File{platform::utf8_to_cp1252(name), std::move(bytes)});
}

void WebCheck::clear_plans() {
  plans_.clear();
  record_ = FindingsRecord();
}

WebReport WebCheck::check(const CheckOptions& options, bool qunused) {
  WebReport result;
  options_ = options;
  record_ = FindingsRecord();
  Console trace{Console::Discard{}};

  TextFile rules_file;
  rules_file.open_bytes(rules_.bytes, TextFile::Decoding::detect_utf8);
  ConstraintTable table;
  RulesApplied applied(0);
  PageSink sink(result.report, record_, applied);
  if (const auto fault = read_rules(trace, rules_file, rules_.name, options, table, sink)) {
    result.report.clear();
    result.rules_fault = message_lines(fault->message);
    return result;
  }
  rules_count_ = table.check_num;
  rule_lines_.clear();
  for (int i = 1; i <= table.check_num; ++i)
    rule_lines_.push_back(RuleLine{table[i].file_line, table[i].line_as_written});
  applied = RulesApplied(table.check_num);

  // Explorer's order, in which the console program takes the plans of a pattern.
  std::stable_sort(plans_.begin(), plans_.end(), [](const File& a, const File& b) {
    return platform::file_name_less(a.name, b.name);
  });
  std::vector<PlanInput> inputs;
  std::unordered_map<std::string_view, const std::string*> bytes;
  inputs.reserve(plans_.size());
  for (const File& plan : plans_) {
    inputs.push_back(PlanInput{plan.name, plan.name});
    bytes.emplace(plan.name, &plan.bytes);
  }
  ChosenPlans source(bytes);
  const CheckRunResult run = check_plans(trace, table, inputs, options, source, sink);
  result.totals = run.totals;
  result.stopped = run.stopped;
  result.totals_line = totals_line(run.totals, options.language);
  totals_line_ = result.totals_line;
  if (qunused && !run.stopped) report_unused_rules(sink, table, applied, options.language);
  return result;
}

// The renderers of the console program's outputs, called here only.
std::string WebCheck::csv() const {
  return csv_report(record_);
}

std::string WebCheck::html(std::string_view date) const {
  std::unordered_map<std::string_view, const std::string*> bytes;
  for (const File& plan : plans_)
    bytes.emplace(plan.name, &plan.bytes);
  const HtmlReportHead head{options_.language, rules_.name,  rules_count_,
                            std::string(date), totals_line_, rule_lines_};
  const MapReader read_map = [&bytes](const PlanFindings& plan) {
    const auto found = bytes.find(plan.path);
    if (found == bytes.end()) return PlanForMap{std::nullopt, MapProblem::cannot_open};
    TextFile file;
    file.open_bytes(*found->second, TextFile::Decoding::detect_utf8);
    return plan_for_map(file);
  };
  return html_report(record_, head, read_map);
}

}  // namespace brevanto
