#include "web_check.hpp"

#include <algorithm>
#include <unordered_map>

#include "csv_report.hpp"
#include "encoding.hpp"
#include "fixed_text.hpp"
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
    record_.end_plan(plan.nl_nok, plan_outcome(plan));
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

// The files' bytes by name, for as long as `files` stays as it is.
template <typename Files>
std::unordered_map<std::string_view, const std::string*> bytes_by_name(const Files& files) {
  std::unordered_map<std::string_view, const std::string*> bytes;
  for (const auto& file : files)
    bytes.emplace(file.name, &file.bytes);
  return bytes;
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
  record_ = FindingsRecord();
  Console trace{Console::Discard{}};

  TextFile rules_file;
  rules_file.open_bytes(rules_.bytes, TextFile::Decoding::detect_utf8);
  ConstraintTable table;
  RulesApplied applied(0);
  PageSink sink(result.report, record_, applied);
  if (const auto fault = read_rules(trace, rules_file, rules_.name, options, table, sink)) {
    result.rules_fault = slashes_to_lines(fault->message) + "\n";
    return result;
  }
  head_ = html_report_head(options.language, rules_.name, table, "");
  applied = RulesApplied(table.check_num);

  // Explorer's order, in which the console program takes the plans of a pattern.
  std::stable_sort(plans_.begin(), plans_.end(), [](const File& a, const File& b) {
    return platform::file_name_less(a.name, b.name);
  });
  std::vector<PlanInput> inputs;
  inputs.reserve(plans_.size());
  for (const File& plan : plans_)
    inputs.push_back(PlanInput{plan.name, plan.name});
  const auto bytes = bytes_by_name(plans_);
  ChosenPlans source(bytes);
  const CheckRunResult run = check_plans(trace, table, inputs, options, source, sink);
  result.totals = run.totals;
  result.stopped = run.stopped;
  result.totals_line = totals_line(run.totals, options.language);
  head_.totals = result.totals_line;
  if (qunused && !run.stopped) report_unused_rules(sink, table, applied, options.language);
  return result;
}

// The renderers of the console program's outputs, called here only.
std::string WebCheck::csv() const {
  return csv_report(record_);
}

std::string WebCheck::html(std::string_view date) const {
  HtmlReportHead head = head_;
  head.rules_file = rules_.name;
  head.date = date;
  const auto bytes = bytes_by_name(plans_);
  const MapReader read_map = [&bytes](const std::string& path) {
    TextFile file;
    if (!ChosenPlans(bytes).open_plan(path, file))
      return PlanForMap{std::nullopt, MapProblem::cannot_open};
    return plan_for_map(file);
  };
  return html_report(record_, head, read_map);
}

}  // namespace brevanto
