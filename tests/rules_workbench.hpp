// A rules table read from a file in a temporary folder, its report log beside it and the console
// in a string: where the tests of the rules file, the rule index, the evaluation and the rule
// usage start from. The report goes to the log as the console program writes it; the findings
// are kept too.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "log_message.hpp"
#include "report_sink.hpp"
#include "rules_file.hpp"
#include "temp_dir.hpp"

namespace brevanto::fixtures {

// The console program's way with the report: each line into the journal.
class JournalSink : public ReportSink {
 public:
  explicit JournalSink(Journal& journal) : journal_(journal) {}
  void report_lines(std::initializer_list<std::string_view> lines) override {
    log_text_lines(journal_, lines);
  }
  void finding(const Finding& f) override { findings.push_back(f); }
  void rule_applies(int rule) override { applied.insert(rule); }

  std::vector<Finding> findings;
  std::set<int> applied;  // the rules found to apply to some line

 private:
  Journal& journal_;
};

struct RulesWorkbench {
  RulesWorkbench() { journal.filnam = dir.str("Brevanto.log"); }

  std::optional<RulesFault> read_rules(const std::string& text) {
    rules_path = dir.write("rules.fpl", text);
    TextFile file(rules_path);
    return brevanto::read_rules(con, file, rules_path, s, table, sink);
  }
  std::string log() { return dir.read_log("Brevanto.log"); }

  TempDir dir;
  std::string out;
  Console con{out};
  Journal journal{con, "Brevanto"};
  JournalSink sink{journal};
  CheckOptions s;
  std::string rules_path;
  ConstraintTable table;
};

}  // namespace brevanto::fixtures
