#include "evaluation.hpp"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "MajMin.hpp"
#include "extract_key_val.hpp"
#include "finding_text.hpp"
#include "fixed_text.hpp"
#include "judgement.hpp"
#include "number_read.hpp"
#include "plan_keys.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

// A number that does not read ends the scan: as an end of file when there was nothing to read,
// else as a read error.
ScanEnd failed_read(std::string_view text) {
  return trim_right(text).empty() ? ScanEnd::blank_as_end : ScanEnd::read_error;
}

std::string_view substr_or_empty(std::string_view s, std::size_t pos,
                                 std::size_t n = std::string_view::npos) {
  return pos < s.size() ? s.substr(pos, n) : std::string_view();
}

bool is_turnpoint_family(const KeyPattern& pattern) {
  using Kind = KeyPattern::Kind;
  return pattern.kind == Kind::between || pattern.kind == Kind::between_but_last ||
         pattern.kind == Kind::before_finish;
}

// The check of one plan; everything it tracks starts afresh with each plan.
class PlanCheck {
 public:
  PlanCheck(Console& trace, const ConstraintTable& table, RuleLookup& lookup,
            const CheckOptions& options, PlanCarry& carry, TextFile& plan, float cloud_base,
            ReportSink& sink)
      : con_(trace),
        table_(table),
        lookup_(lookup),
        options_(options),
        carry_(carry),
        plan_(plan),
        cloud_base_(cloud_base),
        sink_(sink) {}

  PlanCheckResult run() {
    if (options_.qmissing) {
      matched_.assign(static_cast<std::size_t>(table_.check_num) + 1, false);
      matched_turnpoints_.assign(matched_.size(), 0);
    }
    if (!prepare()) return result_;
    scan();
    if (result_.end == ScanEnd::read_error) return result_;
    if (!saw_plan_line_) {
      Finding f;
      f.verdict = Verdict::not_a_plan;
      report(f);
      result_.not_a_plan = true;
    } else if (options_.qmissing) {
      report_missing_keys();
    }
    return result_;
  }

 private:
  // Reads the plan's first "Count" line: the task's number of turnpoints, which the finish
  // keys and the turnpoint wildcards need. False when the scan must not run.
  bool prepare() {
    if (!table_.qfinish && !table_.index.turnpoint_wildcards()) {
      lookup_.start_plan(std::nullopt);
      return true;
    }
    std::string_view line;
    std::optional<std::int32_t> count;
    long long lines = 0;
    long long count_line = -1;
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
      if (key == kTurnpointCount) {
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
      lookup_.start_plan(std::nullopt);
      if (table_.qfinish && saw_plan_line_) {
        Finding f;
        f.line = count_line;
        f.key = kTurnpointCount;
        f.value = count_line < 0 ? "missing" : count_text;
        f.verdict = Verdict::finish_unknown;
        report(f);
      }
      return true;
    }
    count_known_ = true;
    turnpoint_count_ = *count;
    // Wider than the count: the least 32-bit count has a finish all the same.
    const long long last = static_cast<long long>(turnpoint_count_) - 1;
    if (options_.qverb) con_.trace("nb_wp", last);
    lookup_.start_plan(last);
    if (options_.qverb) {
      for (int i = 1; i <= table_.check_num; ++i) {
        if (!table_[i].check_key.ends_with('|')) continue;
        const Constraint& rule = table_[i];
        con_.trace(
            i, std::string(lookup_.key_of(i)->key) + " " + rule.check_rel + " " + rule.check_val);
      }
    }
    return true;
  }

  void scan() {
    std::string_view line;
    lookup_.enter_section(section_);
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
      lookup_.candidates(key, candidates_);
      for (const int i : candidates_)
        compare(i, key, val);
      if (stop) {
        result_.end = *stop;
        return;
      }
    }
  }

  void log(const std::string& line) { sink_.report_line(line); }

  // Follows where the scan is in the plan. A number that does not read gives its "????" line
  // and ends the scan once the line has been compared.
  std::optional<ScanEnd> interpret(std::string_view line, std::string_view key,
                                   std::string_view val) {
    std::optional<ScanEnd> stop;
    // The section a qualified rule key such as "[Task]Count" refers to.
    if (line.starts_with('[')) {
      section_ = fit(line, kKeyLen);
      lookup_.enter_section(section_);
      listed_turnpoint_ = -1;  // the turnpoint list, as the outputs see it, is over
    }

    if (key.starts_with(kTurnpointName)) {
      const std::string_view number = substr_or_empty(key, kTurnpointName.size(), 2);
      if (const auto n = read_int(number)) {
        turnpoint_ = *n;
        listed_turnpoint_ = *n;
      } else {
        log("TPName ???? " + std::string(key));
        stop = failed_read(number);
      }
    } else if (key == kPenaltyZoneCount) {
      turnpoint_ = -1;
      sector_type_ = -1;
      listed_turnpoint_ = -1;
    } else if (key == kWeatherZoneCount) {
      if (const auto n = read_int(val)) {
        carry_.nb_wxz = *n;
      } else {
        log("WZCount ???? " + std::string(key));
        stop = failed_read(val);
      }
    } else if (line.starts_with(kWeatherZoneHeader)) {
      const std::string_view header = trim_right(line);
      // The zone number between "[WeatherZone" and the header's last character.
      const std::size_t at = kWeatherZoneHeader.size();
      const std::string_view number =
          header.size() > at + 1 ? header.substr(at, header.size() - at - 1) : std::string_view();
      if (const auto n = read_int(number)) {
        weather_zone_ = *n;
      } else {
        log("WeatherZone # ???? " + std::string(header));
        stop = failed_read(number);
      }
    } else if (trim_right(line) == kPlaneHeader) {
      weather_zone_ = -1;
    }

    if (key.starts_with(kTurnpointGround)) {
      check_turnpoint_number(key, kTurnpointGround.size(), "TPPosZ ???? ");
      if (const auto v = read_real(val)) {
        carry_.tpposz = *v;
      } else {
        log("TPPosZ ???? " + std::string(val));
        stop = failed_read(val);
      }
    } else if (key.starts_with(kSectorType)) {
      check_turnpoint_number(key, kSectorType.size(), "TPSectorType ???? ");
      if (const auto v = read_int(val)) {
        sector_type_ = *v;
      } else {
        log("TPSectorType ???? " + std::string(val));
        stop = failed_read(val);
      }
    }
    return stop;
  }

  // A turnpoint line of another turnpoint than the current one is reported, and used all the same.
  void check_turnpoint_number(std::string_view key, std::size_t at, std::string_view what) {
    const auto n = read_int(substr_or_empty(key, at));
    if (!n || *n != turnpoint_) log(std::string(what) + std::string(key));
  }

  // Whether the rule's key selects the line's key: the one place where a rule is found to
  // apply to a line.
  bool applies(const RuleKey& rule_key, std::string_view key) {
    std::string_view compared_key = key;
    if (rule_key.sectioned) {
      compared_key_.assign(section_).append(key);
      compared_key = compared_key_;
    }
    return wildcardcompare(con_, rule_key.key, rule_key.pattern, compared_key, turnpoint_,
                           turnpoint_count_);
  }

  // Compares the plan line `key`=`val` with rule number `i` of the table.
  void compare(int i, std::string_view key, std::string_view val) {
    const Constraint& rule = table_[i];
    const std::optional<RuleKey> rule_key = lookup_.key_of(i);
    if (!rule_key || !applies(*rule_key, key)) return;
    sink_.rule_applies(i);
    if (!matched_.empty()) note_match(i, *rule_key, key);

    TypedValue plan_value = line_value(val);
    if (rule.check_agl && sector_type_ == 0 && plan_value.typ != 'C') {
      plan_value.typ = 'R';
      plan_value.fval -= carry_.tpposz;  // the altitude as a height above the turnpoint's ground
      if (options_.qverb) con_.trace(plan_value.fval, rule.check_flt);
    }
    if (rule.check_bas && plan_value.typ != 'C') {
      const float before = plan_value.fval;
      plan_value.typ = 'R';
      plan_value.fval -= cloud_base_;
      if (options_.qverb) con_.trace(before, cloud_base_, plan_value.fval);
    }

    const Judgement judgement =
        judge(con_, rule, plan_value, val, options_.fltpntacy, options_.qverb);
    if (judgement == Judgement::holds && !options_.qoklines) return;
    Finding f = line_finding(rule, key, val);
    f.verdict = judgement == Judgement::holds      ? Verdict::ok
                : judgement == Judgement::violated ? Verdict::violation
                                                   : Verdict::incompatible;
    report(f);
  }

  // A finding about the current line and `rule`, its verdict still to be given.
  Finding line_finding(const Constraint& rule, std::string_view key, std::string_view val) const {
    Finding f;
    f.line = result_.nl;
    f.key = key;
    f.value = val;
    f.relation = rule.check_rel;
    f.rule_value = rule.check_val;
    f.turnpoint = listed_turnpoint_;
    f.weather_zone = weather_zone_;
    if (rule.check_bas) f.base_altitude = static_cast<double>(rule.check_flt) + cloud_base_;
    f.agl = rule.check_agl;
    if (rule.check_agl) f.agl_altitude = static_cast<double>(rule.check_flt) + carry_.tpposz;
    f.sector_type_0 = sector_type_ == 0;
    f.zone_shown = weather_zone_ >= 0 && weather_zone_ < carry_.nb_wxz;
    return f;
  }

  // A finding with its line of the report; every finding but a satisfied rule is an invalid
  // line.
  void report(const Finding& f) {
    sink_.report_line(report_line(f, options_.language));
    sink_.finding(f);
    if (f.verdict != Verdict::ok) ++result_.nl_nok;
  }

  // The line's value as typed for the first constraint that applies to it, for the others too;
  // but "today" is typed at each use, as each writes the day serial on the console.
  TypedValue line_value(std::string_view val) {
    if (line_value_) return *line_value_;
    const TypedValue plan_value = get_val_type(con_, val);
    if (!case_blind_compare(val, "today")) line_value_ = plan_value;
    return plan_value;
  }

  // Marks rule `i` as found in the plan: for a turnpoint wildcard, at the turnpoint its key
  // names.
  void note_match(int i, const RuleKey& rule_key, std::string_view key) {
    const auto at = static_cast<std::size_t>(i);
    matched_[at] = true;
    if (!is_turnpoint_family(rule_key.pattern)) return;
    const std::string_view compared = rule_key.sectioned ? std::string_view(compared_key_) : key;
    const auto number = read_int(substr_or_empty(trim_right(compared), rule_key.pattern.prefix));
    if (number && *number >= 0 && *number <= maxtp) matched_turnpoints_[at] |= 1ULL << *number;
  }

  // Every rule whose key no line of the plan held, after the plan's other lines. Keys that
  // depend on the turnpoints are known only with the plan's Count; a "*" family may rightly be
  // empty.
  void report_missing_keys() {
    for (int i = 1; i <= table_.check_num; ++i) {
      const std::optional<RuleKey> rule_key = lookup_.key_of(i);
      if (!rule_key) continue;  // a finish key of a plan without Count
      const auto at = static_cast<std::size_t>(i);
      if (rule_key->pattern.kind == KeyPattern::Kind::plain) {
        if (!matched_[at]) report_missing(table_[i], std::string(rule_key->key), -1);
        continue;
      }
      if (!is_turnpoint_family(rule_key->pattern) || !count_known_) continue;
      // Turnpoints 2 to the one before the finish, as the wildcard selects them.
      const long long finish = static_cast<long long>(turnpoint_count_) - 1;
      long long first = 2;
      long long last = finish - 1;
      if (rule_key->pattern.kind == KeyPattern::Kind::between_but_last) last = finish - 2;
      if (rule_key->pattern.kind == KeyPattern::Kind::before_finish) first = finish - 1;
      const std::string prefix(rule_key->key.substr(0, rule_key->pattern.prefix));
      for (long long n = std::max(first, 2LL); n <= std::min(last, static_cast<long long>(maxtp));
           ++n) {
        if ((matched_turnpoints_[at] & (1ULL << n)) == 0) {
          report_missing(table_[i], prefix + std::to_string(n), static_cast<int>(n));
        }
      }
    }
  }

  void report_missing(const Constraint& rule, const std::string& key, int turnpoint) {
    Finding f;
    f.key = key;
    f.relation = rule.check_rel;
    f.rule_value = rule.check_val;
    f.verdict = Verdict::missing;
    f.turnpoint = turnpoint;
    if (rule.check_bas) f.base_altitude = static_cast<double>(rule.check_flt) + cloud_base_;
    f.agl = rule.check_agl;
    report(f);
  }

  Console& con_;
  const ConstraintTable& table_;
  RuleLookup& lookup_;
  const CheckOptions& options_;
  PlanCarry& carry_;
  TextFile& plan_;
  const float cloud_base_;
  ReportSink& sink_;

  PlanCheckResult result_;
  int turnpoint_ = -1;  // current turnpoint; -1 outside the turnpoint list
  // The turnpoint a line belongs to in the outputs: the current one, but only within the
  // turnpoint list, which PZCount or the next section header ends ("[Weather]" after a plan
  // without PZCount), whereas the check's own decoration and AGL conversion follow turnpoint_
  // to PZCount.
  int listed_turnpoint_ = -1;
  int sector_type_ = -1;                  // its sector type; -1 when none
  int weather_zone_ = -1;                 // current weather zone; -1 outside the zones
  int turnpoint_count_ = 0;               // turnpoints of the task
  std::string section_;                   // the last section header read
  std::string compared_key_;              // a section followed by a line's key
  std::optional<TypedValue> line_value_;  // the current line's value, once typed
  std::vector<int> candidates_;           // the constraints the current line's key may concern
  bool saw_plan_line_ = false;            // a line of the flight-plan format was read
  bool count_known_ = false;              // the plan's Count was read
  std::vector<bool> matched_;             // with -missing: the rules found in the plan
  std::vector<std::uint64_t> matched_turnpoints_;  // and, for a turnpoint wildcard, where
};

}  // namespace

PlanCheckResult check_plan(Console& trace, const ConstraintTable& table, RuleLookup& lookup,
                           const CheckOptions& options, PlanCarry& carry, TextFile& plan,
                           float cloud_base, ReportSink& sink) {
  return PlanCheck(trace, table, lookup, options, carry, plan, cloud_base, sink).run();
}

}  // namespace brevanto
