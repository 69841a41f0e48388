#include "evaluation.hpp"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "MajMin.hpp"
#include "extract_key_val.hpp"
#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "number_read.hpp"
#include "read_fpl.hpp"
#include "to_char.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view should_be, popup_should_be, incompatible, missing, finish_unknown, not_a_plan;
};
constexpr Texts kEnglish = {"should be: ",
                            ", should be: ",
                            "*** INCOMPATIBLE DATA TYPES: ",
                            "missing",
                            "*** finish turnpoint unknown: \"|\" rules not checked ***",
                            "*** not a flight plan: no flight-plan line found ***"};
constexpr Texts kFrench = {"devrait \xEAtre : ",
                           ", devrait \xEAtre : ",
                           "*** TYPES DE DONNEES INCOMPATIBLES : ",
                           "manquante",
                           "*** point d'arriv\xE9"
                           "e inconnu : r\xE8gles \"|\" non v\xE9rifi\xE9"
                           "es ***",
                           "*** pas un plan de vol : aucune ligne de plan de vol ***"};

// Where "should be: " starts in a report line, and the limits of the popup text.
constexpr std::size_t kShouldBeColumn = 40;
constexpr int kMsg00Room = 421;
constexpr int kMsg00Verbose = 505;

std::string str(std::string_view s) {
  return std::string(s);
}

// A report line with its right part in column 40; a longer left part stays whole, one blank
// after it.
std::string at_column_40(std::string left, std::string_view right) {
  if (left.size() < kShouldBeColumn) {
    left.resize(kShouldBeColumn - 1, ' ');
  } else {
    left += ' ';
  }
  return left.append(right);
}

bool is_turnpoint_family(const KeyPattern& pattern) {
  using Kind = KeyPattern::Kind;
  return pattern.kind == Kind::between || pattern.kind == Kind::between_but_last ||
         pattern.kind == Kind::before_finish;
}

// The integer nearest to x (halves away from zero) as text; asterisks when out of range.
std::string nearest_int_text(double x) {
  const double r = std::round(x);
  if (!(std::fabs(r) <= 2147483647.0)) return std::string(16, '*');
  return i2b(static_cast<std::int32_t>(r));
}

// A number that does not read ends the scan: as an end of file when there was nothing to read,
// else as a read error.
ScanEnd failed_read(std::string_view text) {
  return trim_right(text).empty() ? ScanEnd::blank_as_end : ScanEnd::read_error;
}

std::string_view substr_or_empty(std::string_view s, std::size_t pos,
                                 std::size_t n = std::string_view::npos) {
  return pos < s.size() ? s.substr(pos, n) : std::string_view();
}

// Gives every replaced "|" key its form as read.
void undo_finish_keys(Console& con, bool qverb, ConstraintTable& table) {
  for (int i = 1; i <= table.check_num; ++i) {
    Constraint& rule = table[i];
    if (!rule.check_mod) continue;
    set_check_key(rule, rule.key_as_read);
    rule.check_mod = false;
    if (qverb) con.trace(i, rule.check_key + " " + rule.check_rel + " " + rule.check_val);
  }
}

// The check of one plan; everything it tracks starts afresh with each plan.
class PlanCheck {
 public:
  PlanCheck(const Io& io, const RunSettings& s, ConstraintTable& table, PlanCarry& carry,
            TextFile& plan, float cloud_base, int name_length, FindingsRecord* record)
      : io_(io),
        con_(io.con),
        settings_(s),
        texts_(s.language == Language::french ? kFrench : kEnglish),
        table_(table),
        carry_(carry),
        plan_(plan),
        cloud_base_(cloud_base),
        name_length_(name_length),
        record_(record) {}

  PlanCheckResult run() {
    undo_finish_keys(con_, false, table_);
    if (settings_.qmissing) {
      matched_.assign(static_cast<std::size_t>(table_.check_num) + 1, false);
      matched_turnpoints_.assign(matched_.size(), 0);
    }
    if (!prepare()) return result_;
    scan();
    if (result_.end == ScanEnd::read_error) return result_;
    if (!saw_plan_line_) {
      report_not_a_plan();
    } else if (settings_.qmissing) {
      report_missing_keys();
    }
    return result_;
  }

 private:
  // Reads the plan's first "Count" line: the task's number of turnpoints, which the finish
  // keys and the turnpoint wildcards need. False when the scan must not run.
  bool prepare() {
    if (!table_.qfinish && !table_.index.turnpoint_wildcards()) return true;

    std::string_view line;
    std::optional<std::int32_t> count;
    int lines = 0;
    int count_line = -1;
    std::string count_text;
    for (;;) {
      const TextFile::Status status = plan_.next_line(line, kLineLen);
      if (status == TextFile::Status::error) {
        result_.nl = lines;
        result_.end = ScanEnd::read_error;
        return false;
      }
      if (status == TextFile::Status::end) break;
      ++lines;
      const auto [key, val] = split_key_val(line, kKeyLen);
      saw_plan_line_ = saw_plan_line_ || is_flight_plan_line(line, key);
      if (key == "Count") {
        count = read_int(val);
        count_line = lines;
        count_text = val;
        break;
      }
    }
    plan_.rewind();
    if (!count) {
      // No finish: the finish rules cannot apply, every other rule is checked. A file without
      // any plan line is told as such once the scan has read it.
      if (table_.qfinish) {
        finish_unknown_ = true;
        table_.index.index_finish_keys(table_);
        if (saw_plan_line_) report_finish_unknown(count_line, count_text);
      }
      return true;
    }
    count_known_ = true;
    turnpoint_count_ = *count;
    // Wider than the count: the least 32-bit count has a finish all the same.
    const long long last = static_cast<long long>(turnpoint_count_) - 1;
    if (settings_.qverb) con_.trace("nb_wp", last);
    if (table_.qfinish) {
      // The finish number in full: a field of two would put "**", two wildcards, in the key.
      const std::string finish = std::to_string(last);
      for (int i = 1; i <= table_.check_num; ++i) {
        Constraint& rule = table_[i];
        if (!rule.check_key.ends_with('|')) continue;
        set_check_key(rule,
                      fit(rule.check_key.substr(0, rule.check_key.size() - 1) + finish, kKeyLen));
        rule.check_mod = true;
        if (settings_.qverb)
          con_.trace(i, rule.check_key + " " + rule.check_rel + " " + rule.check_val);
      }
      table_.index.index_finish_keys(table_);
    }
    return true;
  }

  void scan() {
    std::string_view line;
    table_.index.enter_section(section_);
    for (;;) {
      const TextFile::Status status = plan_.next_line(line, kLineLen);
      if (status == TextFile::Status::end) return;
      if (status == TextFile::Status::error) {
        result_.end = ScanEnd::read_error;
        return;
      }
      ++result_.nl;
      const auto [key, val] = split_key_val(line, kKeyLen);
      saw_plan_line_ = saw_plan_line_ || is_flight_plan_line(line, key);
      line_value_.reset();
      const std::optional<ScanEnd> stop = interpret(line, key, val);
      table_.index.candidates(key, candidates_);
      for (const int i : candidates_)
        compare(i, key, val);
      if (stop) {
        result_.end = *stop;
        return;
      }
    }
  }

  void log(std::string_view line) { log_line(io_.journal, line); }

  // Follows where the scan is in the plan. A number that does not read gives its "????" line
  // and ends the scan once the line has been compared.
  std::optional<ScanEnd> interpret(std::string_view line, std::string_view key,
                                   std::string_view val) {
    std::optional<ScanEnd> stop;
    // The section a qualified rule key such as "[Task]Count" refers to.
    if (line.starts_with('[')) {
      section_ = fit(line, kKeyLen);
      table_.index.enter_section(section_);
    }

    if (key.starts_with("TPName")) {
      const std::string_view number = substr_or_empty(key, 6, 2);
      if (const auto n = read_int(number)) {
        turnpoint_ = *n;
      } else {
        log("TPName ???? " + escape_slashes(key));
        stop = failed_read(number);
      }
    } else if (key == "PZCount") {
      turnpoint_ = -1;
      sector_type_ = -1;
    } else if (key == "WZCount") {
      if (const auto n = read_int(val)) {
        carry_.nb_wxz = *n;
      } else {
        log("WZCount ???? " + escape_slashes(key));
        stop = failed_read(val);
      }
    } else if (line.starts_with("[WeatherZone")) {
      const std::string_view header = trim_right(line);
      const std::string_view number =
          header.size() > 13 ? header.substr(12, header.size() - 13) : std::string_view();
      if (const auto n = read_int(number)) {
        weather_zone_ = *n;
      } else {
        log("WeatherZone # ???? " + escape_slashes(header));
        stop = failed_read(number);
      }
    } else if (trim_right(line) == "[Plane]") {
      weather_zone_ = -1;
    }

    if (key.starts_with("TPPosZ")) {
      check_turnpoint_number(key, 6, "TPPosZ ???? ");
      if (const auto v = read_real(val)) {
        carry_.tpposz = *v;
      } else {
        log("TPPosZ ???? " + escape_slashes(val));
        stop = failed_read(val);
      }
    } else if (key.starts_with("TPSectorType")) {
      check_turnpoint_number(key, 12, "TPSectorType ???? ");
      if (const auto v = read_int(val)) {
        sector_type_ = *v;
      } else {
        log("TPSectorType ???? " + escape_slashes(val));
        stop = failed_read(val);
      }
    }
    return stop;
  }

  // A turnpoint line of another turnpoint than the current one is reported, and used all the same.
  void check_turnpoint_number(std::string_view key, std::size_t at, std::string_view what) {
    const auto n = read_int(substr_or_empty(key, at));
    if (!n || *n != turnpoint_) log(str(what) + escape_slashes(key));
  }

  // Whether the constraint's key selects the line's key: the one place where a rule is found to
  // apply to a line.
  bool applies(const Constraint& rule, std::string_view key) {
    std::string_view compared_key = key;
    if (rule.sectioned) {
      compared_key_.assign(section_).append(key);
      compared_key = compared_key_;
    }
    return wildcardcompare(con_, rule.check_key, rule.key_pattern, compared_key, turnpoint_,
                           turnpoint_count_);
  }

  // Compares the plan line `key`=`val` with rule number `i` of the table.
  void compare(int i, std::string_view key, std::string_view val) {
    const Constraint& rule = table_[i];
    if (finish_unknown_ && rule.key_as_read.ends_with('|')) return;
    if (!applies(rule, key)) return;
    if (record_ != nullptr) record_->rule_applies(i);
    if (!matched_.empty()) note_match(i, rule, key);

    TypedValue plan_value = line_value(val);
    if (rule.check_agl && sector_type_ == 0 && plan_value.typ != 'C') {
      plan_value.typ = 'R';
      plan_value.fval -= carry_.tpposz;  // the altitude as a height above the turnpoint's ground
      if (settings_.qverb) con_.trace(plan_value.fval, rule.check_flt);
    }
    if (rule.check_bas && plan_value.typ != 'C') {
      const float before = plan_value.fval;
      plan_value.typ = 'R';
      plan_value.fval -= cloud_base_;
      if (settings_.qverb) con_.trace(before, cloud_base_, plan_value.fval);
    }

    bool comparable = true;
    const bool satisfied = holds(rule, plan_value, val, comparable);
    if (!satisfied) {
      ++result_.nl_nok;
      report(rule, key, val, comparable);
    } else if (settings_.qoklines) {
      const std::string line = str(key) + " : OK";
      log(escape_slashes(line));
      if (keeps_findings()) add_finding(rule, key, val, Verdict::ok, expected_value(rule), line);
    }
  }

  // The line's value as typed for the first constraint that applies to it, for the others too;
  // but "today" is typed at each use, as each writes the day serial on the console.
  TypedValue line_value(std::string_view val) {
    if (line_value_) return *line_value_;
    const TypedValue plan_value = get_val_type(con_, val);
    if (!case_blind_compare(val, "today")) line_value_ = plan_value;
    return plan_value;
  }

  // Whether the plan's value satisfies the constraint; `comparable` false when the types do not go
  // together.
  bool holds(const Constraint& rule, const TypedValue& plan_value, std::string_view val,
             bool& comparable) {
    const std::string& rel = rule.check_rel;
    if (rel == "[]") {
      const std::size_t at = val.find(rule.check_val);
      if (settings_.qverb) con_.trace(at == std::string_view::npos ? 0 : static_cast<int>(at) + 1);
      return at != std::string_view::npos;
    }
    if (plan_value.typ == 'C' && rule.check_typ == 'C') {
      if (rel == "=" && rule.check_val.find(';') != std::string::npos) return in_list(rule, val);
      const int cmp = padded_compare(val, rule.check_val);
      return relation_holds(rel, cmp);
    }
    if (plan_value.typ == 'C' || rule.check_typ == 'C') {
      comparable = false;
      return false;
    }
    if (rel == "=") {
      if (plan_value.typ == 'I' && rule.check_typ == 'I') return plan_value.ival == rule.check_int;
      if (plan_value.typ == 'R' && rule.check_typ == 'I') {
        return std::round(static_cast<double>(plan_value.fval)) ==
               static_cast<double>(rule.check_int);
      }
      const float v = plan_value.typ == 'I' ? static_cast<float>(plan_value.ival) : plan_value.fval;
      return flt_eq(con_, v, rule.check_flt, settings_.fltpntacy);
    }
    // Exact values: every 32-bit integer and real is exact as a double.
    const double plan_number =
        plan_value.typ == 'I' ? plan_value.ival : static_cast<double>(plan_value.fval);
    const double rule_number =
        rule.check_typ == 'I' ? rule.check_int : static_cast<double>(rule.check_flt);
    return relation_holds(rel, order(plan_number, rule_number));
  }

  // -1, 0 or 1 as `a` is below, equal to or above `b`; 2 when they are unordered (a NaN).
  static int order(double a, double b) { return a < b ? -1 : (a > b ? 1 : (a == b ? 0 : 2)); }

  // `cmp` is -1, 0 or 1; 2 for unordered values (a NaN), which satisfy only "!=".
  static bool relation_holds(std::string_view rel, int cmp) {
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
  bool in_list(const Constraint& rule, std::string_view val) {
    std::string rest = rule.check_val;
    std::string item;
    bool satisfied = false;
    for (;;) {
      extract_list(rest, item, ";", 200);
      con_.trace(item);
      if (trim_right(item).empty()) break;
      // The last item keeps the blank written after its ";": a plan value never begins with one.
      if (padded_equal(val, trim_left(item))) satisfied = true;
    }
    return satisfied;
  }

  void report(const Constraint& rule, std::string_view key_text, std::string_view val_text,
              bool comparable) {
    const std::string key(key_text), val(val_text);
    if (!comparable) {
      const std::string line = key + " : " + str(texts_.incompatible) + val + "," + rule.check_val;
      log(escape_slashes(line));
      add_to_msg00(line);
      if (keeps_findings()) {
        add_finding(rule, key, val, Verdict::incompatible, rule.check_val, line);
      }
      return;
    }
    std::string zone;
    if (weather_zone_ >= 0 && weather_zone_ < carry_.nb_wxz) zone = "[" + i2b(weather_zone_) + "]";
    std::string decorated = key;
    if (sector_type_ == 0 && key.starts_with("TPWidth")) decorated += " (Min Alt)";
    decorated += zone;

    const std::string expected_text = expected_value(rule);
    const std::string requirement = rule.check_rel + " " + expected_text;

    const std::string line =
        at_column_40(decorated + " : " + val, str(texts_.should_be) + requirement);
    log(escape_slashes(line));
    if (keeps_findings()) add_finding(rule, key, val, Verdict::violation, expected_text, line);

    const std::string& popup_key = sector_type_ == 0 ? key : key + zone;
    add_to_msg00(popup_key + " : " + val + str(texts_.popup_should_be) + requirement);
  }

  // The rule's value as a report line shows it: a BASE value with the altitude it means for this
  // plan, an AGL value with the altitude it means at the current turnpoint.
  std::string expected_value(const Constraint& rule) const {
    std::string expected_text = rule.check_val;
    if (rule.check_bas) {
      expected_text = "BASE" + rule.check_val + " (" +
                      nearest_int_text(static_cast<double>(rule.check_flt) + cloud_base_) + ")";
    }
    if (rule.check_agl) {
      expected_text +=
          "AGL (" +
          str(trim_left(fmt_f(static_cast<double>(rule.check_flt) + carry_.tpposz, 12, 1))) + ")";
    }
    return expected_text;
  }

  // Marks rule `i` as found in the plan: for a turnpoint wildcard, at the turnpoint its key
  // names.
  void note_match(int i, const Constraint& rule, std::string_view key) {
    const auto at = static_cast<std::size_t>(i);
    matched_[at] = true;
    if (!is_turnpoint_family(rule.key_pattern)) return;
    const std::string_view compared = rule.sectioned ? std::string_view(compared_key_) : key;
    const auto number = read_int(substr_or_empty(trim_right(compared), rule.key_pattern.prefix));
    if (number && *number >= 0 && *number <= maxtp) matched_turnpoints_[at] |= 1ULL << *number;
  }

  // Why the finish rules were not applied to this plan: its Count line as written, or none.
  void report_finish_unknown(int count_line, const std::string& count_text) {
    const std::string value = count_line < 0 ? "missing" : count_text;
    const std::string left = "Count : " + value;
    const std::string line = at_column_40(left, texts_.finish_unknown);
    log(escape_slashes(line));
    ++result_.nl_nok;
    add_to_msg00(left + " " + str(texts_.finish_unknown));
    if (keeps_findings()) {
      record_->add(
          Finding{count_line, "Count", value, "", "", Verdict::finish_unknown, -1, -1, line});
    }
  }

  void report_not_a_plan() {
    log(texts_.not_a_plan);
    ++result_.nl_nok;
    add_to_msg00(str(texts_.not_a_plan));
    result_.not_a_plan = true;
  }

  // Every rule whose key no line of the plan held, after the plan's other lines. Keys that
  // depend on the turnpoints are known only with the plan's Count; a "*" family may rightly be
  // empty.
  void report_missing_keys() {
    for (int i = 1; i <= table_.check_num; ++i) {
      const Constraint& rule = table_[i];
      const auto at = static_cast<std::size_t>(i);
      const bool finish_rule = rule.key_as_read.ends_with('|');
      if (rule.key_pattern.kind == KeyPattern::Kind::plain) {
        if (!matched_[at] && (!finish_rule || count_known_))
          report_missing(rule, rule.check_key, -1);
        continue;
      }
      if (!is_turnpoint_family(rule.key_pattern) || !count_known_) continue;
      // Turnpoints 2 to the one before the finish, as the wildcard selects them.
      const long long finish = static_cast<long long>(turnpoint_count_) - 1;
      long long first = 2;
      long long last = finish - 1;
      if (rule.key_pattern.kind == KeyPattern::Kind::between_but_last) last = finish - 2;
      if (rule.key_pattern.kind == KeyPattern::Kind::before_finish) first = finish - 1;
      const std::string prefix = rule.check_key.substr(0, rule.key_pattern.prefix);
      for (long long n = std::max(first, 2LL); n <= std::min(last, static_cast<long long>(maxtp));
           ++n) {
        if ((matched_turnpoints_[at] & (1ULL << n)) == 0) {
          report_missing(rule, prefix + std::to_string(n), static_cast<int>(n));
        }
      }
    }
  }

  void report_missing(const Constraint& rule, const std::string& key, int turnpoint) {
    std::string expected = rule.check_val;
    if (rule.check_bas) {
      expected = "BASE" + rule.check_val + " (" +
                 nearest_int_text(static_cast<double>(rule.check_flt) + cloud_base_) + ")";
    } else if (rule.check_agl) {
      expected += "AGL";
    }
    const std::string requirement = rule.check_rel + " " + expected;
    const std::string line =
        at_column_40(key + " : " + str(texts_.missing), str(texts_.should_be) + requirement);
    log(escape_slashes(line));
    ++result_.nl_nok;
    add_to_msg00(key + " : " + str(texts_.missing) + str(texts_.popup_should_be) + requirement);
    if (keeps_findings()) {
      record_->add(
          Finding{-1, key, "", rule.check_rel, expected, Verdict::missing, turnpoint, -1, line});
    }
  }

  bool keeps_findings() const { return record_ != nullptr && record_->keeps_findings(); }

  // A reported line, for the run's outputs; `expected` is the rule's value as the line shows it.
  void add_finding(const Constraint& rule, std::string_view key, std::string_view val,
                   Verdict verdict, const std::string& expected, const std::string& report_line) {
    record_->add(Finding{result_.nl, std::string(key), std::string(val), rule.check_rel, expected,
                         verdict, turnpoint_, weather_zone_, report_line});
  }

  // msg00 holds its lines as the popup shows them, so that its room counts a "/" once; the
  // popup escapes them.
  void add_to_msg00(const std::string& line) {
    std::string& msg00 = result_.msg00;
    const int used = static_cast<int>(msg00.size());
    const int length = static_cast<int>(line.size());
    if (settings_.qverb) {
      con_.trace(used, name_length_, length, kMsg00Verbose - name_length_ - length);
    }
    if (used >= kMsg00Room - name_length_ - length) {
      const std::string_view see = seefile_text(settings_.ui_language);
      if (msg00.find(see) == std::string::npos) msg00 += "\n" + str(see);
    } else {
      msg00 += "\n-" + line;
    }
    if (msg00.size() > kMsgLen) msg00.resize(kMsgLen);
  }

  const Io& io_;
  Console& con_;
  const RunSettings& settings_;
  const Texts& texts_;
  ConstraintTable& table_;
  PlanCarry& carry_;
  TextFile& plan_;
  const float cloud_base_;
  const int name_length_;
  FindingsRecord* const record_;  // the run's record, or none

  PlanCheckResult result_;
  int turnpoint_ = -1;                    // current turnpoint; -1 outside the turnpoint list
  int sector_type_ = -1;                  // its sector type; -1 when none
  int weather_zone_ = -1;                 // current weather zone; -1 outside the zones
  int turnpoint_count_ = 0;               // turnpoints of the task
  std::string section_;                   // the last section header read
  std::string compared_key_;              // a section followed by a line's key
  std::optional<TypedValue> line_value_;  // the current line's value, once typed
  std::vector<int> candidates_;           // the constraints the current line's key may concern
  bool saw_plan_line_ = false;            // a line of the flight-plan format was read
  bool count_known_ = false;              // the plan's Count was read
  bool finish_unknown_ = false;           // finish rules exist, but the plan's Count did not read
  std::vector<bool> matched_;             // with -missing: the rules found in the plan
  std::vector<std::uint64_t> matched_turnpoints_;  // and, for a turnpoint wildcard, where
};

}  // namespace

std::string_view seefile_text(Language language) {
  return language == Language::french ? seefile[0] : seefile[1];
}

PlanCheckResult check_plan(const Io& io, const RunSettings& s, ConstraintTable& table,
                           PlanCarry& carry, TextFile& plan, float cloud_base, int name_length,
                           FindingsRecord* record) {
  return PlanCheck(io, s, table, carry, plan, cloud_base, name_length, record).run();
}

void restore_finish_keys(Console& con, bool qverb, ConstraintTable& table) {
  undo_finish_keys(con, qverb, table);
}

}  // namespace brevanto
