// The rules file and the constraint table. A rules file has the key=value syntax of a flight plan,
// with a relation in place of the "=": every line "Key<relation>Value" constrains one flight-plan
// key. It is chosen before the run checks the installation and read once, before the first plan.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "bounded_array.hpp"
#include "check_options.hpp"
#include "console.hpp"
#include "report_sink.hpp"
#include "rule_index.hpp"
#include "text_file.hpp"
#include "value_primitives.hpp"

namespace brevanto {

inline constexpr int maxchk = 200;  // constraints a rules file may hold

// One constraint. Texts keep their content without trailing blanks (width 80, relation 2).
struct Constraint {
  std::string check_key;        // flight-plan key, after the aliases; may end with a wildcard or
                                // "|" (the finish turnpoint, which each plan gives: RuleLookup)
  std::string check_rel;        // "=", "!=", "<", "<=", ">", ">=" or "[]"
  std::string check_val;        // the value without its qualifier
  char check_typ = 'C';         // 'I', 'R' or 'C'; 'R' for every numeric AGL value
  float check_flt = 0;          // the value as a real (types 'I' and 'R')
  std::int32_t check_int = 0;   // the value as an integer (type 'I')
  bool check_agl = false;       // a height above the current turnpoint's ground
  bool check_bas = false;       // an offset from the plan's cloud base
  KeyPattern key_pattern;       // what check_key selects
  bool sectioned = false;       // check_key begins with a section ("[Task]Count"): it is compared
                                // with the current section followed by the line's key
  std::string line_as_written;  // the rules file's line, for the messages about the rule
  long long file_line = 0;      // its number in the rules file, from 1
};

struct ConstraintTable {
  Bounded<Constraint, 1, maxchk> entries;  // 1 to check_num in use, in the file's order
  int check_num = 0;
  bool qfinish = false;  // some key ends with "|" (the finish turnpoint)
  bool qbase = false;    // some value is a BASE value: the run must give the cloud base
  RuleIndex index;       // which constraints a plan line's key may concern

  Constraint& operator[](int i) { return entries[i]; }
  const Constraint& operator[](int i) const { return entries[i]; }
};

// Why the rules file cannot be used. The run shows `message` in an error box and writes it to
// the report log, then stops.
struct RulesFault {
  enum class Kind { cannot_open, too_many, none_defined };
  Kind kind;
  std::string message;  // "/" starts a new line, as in every message
};

// The fault of a rules file `path` that cannot be opened.
RulesFault rules_file_cannot_be_opened(std::string_view path, Language language);

// Reads the rules from `file` (open at its first line; `path` names it in the messages) into
// `table` (filled afresh). Comments ("#" first), lines without relation, with a blank key or a
// blank value are skipped. Writes to `sink` the count line, the warnings about the rules
// (rule_lint), and a line holding one blank; with
// options.qverb, each rule on `trace`. More than maxchk constraints or none at all: nothing more
// is read and the fault comes back (the table then holds the constraints read so far).
// Otherwise the table's index is built.
std::optional<RulesFault> read_rules(Console& trace, TextFile& file, std::string_view path,
                                     const CheckOptions& options, ConstraintTable& table,
                                     ReportSink& sink);

}  // namespace brevanto
