// A rules table read from a file in a temporary folder, its report log beside it and the console
// in a string: where the tests of the rules file, the rule index, the evaluation and the rule
// usage start from.
#pragma once

#include <optional>
#include <string>

#include "rules_file.hpp"
#include "temp_dir.hpp"

namespace brevanto::testing {

struct RulesWorkbench {
  RulesWorkbench() { journal.filnam = dir.str("Brevanto.log"); }

  std::optional<RulesFault> read_rules(const std::string& text) {
    s.deffil = dir.write("rules.fpl", text);
    return read_rules_file(Io{con, journal, s}, s, table);
  }
  std::string log() { return dir.read_log("Brevanto.log"); }

  TempDir dir;
  std::string out;
  Console con{out};
  Journal journal{con, "Brevanto"};
  RunSettings s;
  ConstraintTable table;
};

}  // namespace brevanto::testing
