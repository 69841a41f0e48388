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
#include "to_char.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view should_be, popup_should_be, incompatible;
};
constexpr Texts kEnglish = {"should be: ", ", should be: ", "*** INCOMPATIBLE DATA TYPES: "};
constexpr Texts kFrench = {
    "devrait \xEAtre : ", ", devrait \xEAtre : ", "*** TYPES DE DONNEES INCOMPATIBLES : "};

// Where "should be: " starts in a report line, and the limits of the popup text.
constexpr std::size_t kShouldBeColumn = 40;
constexpr int kMsg00Room = 421;
constexpr int kMsg00Verbose = 505;

std::string str(std::string_view s) {
  return std::string(s);
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
    Constraint& c = table[i];
    if (!c.check_mod) continue;
    set_check_key(c, c.key_as_read);
    c.check_mod = false;
    if (qverb) con.trace(i, c.check_key + " " + c.check_rel + " " + c.check_val);
  }
}

// The check of one plan; everything it tracks starts afresh with each plan.
class PlanCheck {
 public:
  PlanCheck(const Io& io, const RunSettings& s, ConstraintTable& table, PlanCarry& carry,
            TextFile& plan, float zbase, int l_infile)
      : io_(io),
        con_(io.con),
        s_(s),
        t_(s.qfr ? kFrench : kEnglish),
        table_(table),
        carry_(carry),
        plan_(plan),
        zbase_(zbase),
        l_infile_(l_infile) {}

  PlanCheckResult run() {
    undo_finish_keys(con_, false, table_);
    if (!prepare()) return result_;
    scan();
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
    for (;;) {
      const TextFile::Status st = plan_.next_line(line, kLineLen);
      if (st == TextFile::Status::error) {
        result_.nl = lines;
        result_.end = ScanEnd::read_error;
        return false;
      }
      if (st == TextFile::Status::end) break;
      ++lines;
      const auto [key, val] = split_key_val(line, kKeyLen);
      if (key == "Count") {
        count = read_int(val);
        break;
      }
    }
    // With finish keys, a plan without a readable Count has no finish: nothing is checked.
    if (table_.qfinish && !count) return false;
    nb_wp_ = count.value_or(0);
    // Wider than the count: the least 32-bit count has a finish all the same.
    const long long last = static_cast<long long>(nb_wp_) - 1;
    if (s_.qverb) con_.trace("nb_wp", last);
    if (table_.qfinish) {
      // The finish number in full: a field of two would put "**", two wildcards, in the key.
      const std::string finish = std::to_string(last);
      for (int i = 1; i <= table_.check_num; ++i) {
        Constraint& c = table_[i];
        if (!c.check_key.ends_with('|')) continue;
        set_check_key(c, fit(c.check_key.substr(0, c.check_key.size() - 1) + finish, kKeyLen));
        c.check_mod = true;
        if (s_.qverb) con_.trace(i, c.check_key + " " + c.check_rel + " " + c.check_val);
      }
      table_.index.index_finish_keys(table_);
    }
    plan_.rewind();
    return true;
  }

  void scan() {
    std::string_view line;
    table_.index.enter_section(section_);
    for (;;) {
      const TextFile::Status st = plan_.next_line(line, kLineLen);
      if (st == TextFile::Status::end) return;
      if (st == TextFile::Status::error) {
        result_.end = ScanEnd::read_error;
        return;
      }
      ++result_.nl;
      const auto [key, val] = split_key_val(line, kKeyLen);
      line_value_.reset();
      const std::optional<ScanEnd> stop = interpret(line, key, val);
      table_.index.candidates(key, candidates_);
      for (const int i : candidates_)
        compare(table_[i], key, val);
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
        ntpcur_ = *n;
      } else {
        log("TPName ???? " + escape_slashes(key));
        stop = failed_read(number);
      }
    } else if (key == "PZCount") {
      ntpcur_ = -1;
      ntpsectortype_ = -1;
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
        nwxz_ = *n;
      } else {
        log("WeatherZone # ???? " + escape_slashes(header));
        stop = failed_read(number);
      }
    } else if (trim_right(line) == "[Plane]") {
      nwxz_ = -1;
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
        ntpsectortype_ = *v;
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
    if (!n || *n != ntpcur_) log(str(what) + escape_slashes(key));
  }

  // Whether the constraint's key selects the line's key: the one place where a rule is found to
  // apply to a line.
  bool applies(const Constraint& c, std::string_view key) {
    std::string_view key_chk = key;
    if (c.sectioned) {
      key_chk_.assign(section_).append(key);
      key_chk = key_chk_;
    }
    return wildcardcompare(con_, c.check_key, c.key_pattern, key_chk, ntpcur_, nb_wp_);
  }

  void compare(const Constraint& c, std::string_view key, std::string_view val) {
    if (!applies(c, key)) return;

    TypedValue f = line_value(val);
    if (c.check_agl && ntpsectortype_ == 0 && f.typ != 'C') {
      f.typ = 'R';
      f.fval -= carry_.tpposz;  // the altitude as a height above the turnpoint's ground
      if (s_.qverb) con_.trace(f.fval, c.check_flt);
    }
    if (c.check_bas && f.typ != 'C') {
      const float before = f.fval;
      f.typ = 'R';
      f.fval -= zbase_;
      if (s_.qverb) con_.trace(before, zbase_, f.fval);
    }

    bool qcomp = true;
    const bool qok = holds(c, f, val, qcomp);
    if (!qok) {
      ++result_.nl_nok;
      report(c, key, val, qcomp);
    } else if (s_.qoklines) {
      log(escape_slashes(str(key) + " : OK"));
    }
  }

  // The line's value as typed for the first constraint that applies to it, for the others too;
  // but "today" is typed at each use, as each writes the day serial on the console.
  TypedValue line_value(std::string_view val) {
    if (line_value_) return *line_value_;
    const TypedValue f = get_val_type(con_, val);
    if (!case_blind_compare(val, "today")) line_value_ = f;
    return f;
  }

  // Whether the plan's value satisfies the constraint; `qcomp` false when the types do not go
  // together.
  bool holds(const Constraint& c, const TypedValue& f, std::string_view val, bool& qcomp) {
    const std::string& rel = c.check_rel;
    if (rel == "[]") {
      const std::size_t at = val.find(c.check_val);
      if (s_.qverb) con_.trace(at == std::string_view::npos ? 0 : static_cast<int>(at) + 1);
      return at != std::string_view::npos;
    }
    if (f.typ == 'C' && c.check_typ == 'C') {
      if (rel == "=" && c.check_val.find(';') != std::string::npos) return in_list(c, val);
      const int cmp = padded_compare(val, c.check_val);
      return relation_holds(rel, cmp);
    }
    if (f.typ == 'C' || c.check_typ == 'C') {
      qcomp = false;
      return false;
    }
    if (rel == "=") {
      if (f.typ == 'I' && c.check_typ == 'I') return f.ival == c.check_int;
      if (f.typ == 'R' && c.check_typ == 'I') {
        return std::round(static_cast<double>(f.fval)) == static_cast<double>(c.check_int);
      }
      const float v = f.typ == 'I' ? static_cast<float>(f.ival) : f.fval;
      return flt_eq(con_, v, c.check_flt, s_.fltpntacy);
    }
    // Exact values: every 32-bit integer and real is exact as a double.
    const double a = f.typ == 'I' ? f.ival : static_cast<double>(f.fval);
    const double b = c.check_typ == 'I' ? c.check_int : static_cast<double>(c.check_flt);
    return relation_holds(rel, a < b ? -1 : (a > b ? 1 : (a == b ? 0 : 2)));
  }

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
  bool in_list(const Constraint& c, std::string_view val) {
    std::string rest = c.check_val;
    std::string item;
    bool qok = false;
    for (;;) {
      extract_list(rest, item, ";", 200);
      con_.trace(item);
      if (trim_right(item).empty()) break;
      // The last item keeps the blank written after its ";": a plan value never begins with one.
      if (padded_equal(val, trim_left(item))) qok = true;
    }
    return qok;
  }

  void report(const Constraint& c, std::string_view key_text, std::string_view val_text,
              bool qcomp) {
    const std::string key(key_text), val(val_text);
    if (!qcomp) {
      const std::string line = key + " : " + str(t_.incompatible) + val + "," + c.check_val;
      log(escape_slashes(line));
      add_to_msg00(line);
      return;
    }
    std::string zone;
    if (nwxz_ >= 0 && nwxz_ < carry_.nb_wxz) zone = "[" + i2b(nwxz_) + "]";
    std::string decorated = key;
    if (ntpsectortype_ == 0 && key.starts_with("TPWidth")) decorated += " (Min Alt)";
    decorated += zone;

    std::string bbb = c.check_val;
    if (c.check_bas) {
      bbb = "BASE" + c.check_val + " (" +
            nearest_int_text(static_cast<double>(c.check_flt) + zbase_) + ")";
    }
    std::string expected = c.check_rel + " " + bbb;
    if (c.check_agl) {
      expected += "AGL (" +
                  str(trim_left(fmt_f(static_cast<double>(c.check_flt) + carry_.tpposz, 12, 1))) +
                  ")";
    }

    // "should be: " in column 40; a longer key and value stay whole, one blank after them.
    std::string line = decorated + " : " + val;
    if (line.size() < kShouldBeColumn) {
      line.resize(kShouldBeColumn - 1, ' ');
    } else {
      line += ' ';
    }
    log(escape_slashes(line + str(t_.should_be) + expected));

    const std::string& popup_key = ntpsectortype_ == 0 ? key : key + zone;
    add_to_msg00(popup_key + " : " + val + str(t_.popup_should_be) + expected);
  }

  // msg00 holds its lines as the popup shows them, so that its room counts a "/" once; the
  // popup escapes them.
  void add_to_msg00(const std::string& line) {
    std::string& msg00 = result_.msg00;
    const int lm = static_cast<int>(msg00.size());
    const int ll = static_cast<int>(line.size());
    if (s_.qverb) con_.trace(lm, l_infile_, ll, kMsg00Verbose - l_infile_ - ll);
    if (lm >= kMsg00Room - l_infile_ - ll) {
      const std::string_view see = seefile_text(s_.nlang);
      if (msg00.find(see) == std::string::npos) msg00 += "\n" + str(see);
    } else {
      msg00 += "\n-" + line;
    }
    if (msg00.size() > kMsgLen) msg00.resize(kMsgLen);
  }

  const Io& io_;
  Console& con_;
  const RunSettings& s_;
  const Texts& t_;
  ConstraintTable& table_;
  PlanCarry& carry_;
  TextFile& plan_;
  const float zbase_;
  const int l_infile_;

  PlanCheckResult result_;
  int ntpcur_ = -1;                       // current turnpoint; -1 outside the turnpoint list
  int ntpsectortype_ = -1;                // its sector type; -1 when none
  int nwxz_ = -1;                         // current weather zone; -1 outside the zones
  int nb_wp_ = 0;                         // turnpoints of the task
  std::string section_;                   // the last section header read
  std::string key_chk_;                   // a section followed by a line's key
  std::optional<TypedValue> line_value_;  // the current line's value, once typed
  std::vector<int> candidates_;           // the constraints the current line's key may concern
};

}  // namespace

std::string_view seefile_text(int nlang) {
  return nlang == 1 ? seefile[0] : seefile[1];
}

PlanCheckResult check_plan(const Io& io, const RunSettings& s, ConstraintTable& table,
                           PlanCarry& carry, TextFile& plan, float zbase, int l_infile) {
  return PlanCheck(io, s, table, carry, plan, zbase, l_infile).run();
}

void restore_finish_keys(Console& con, bool qverb, ConstraintTable& table) {
  undo_finish_keys(con, qverb, table);
}

}  // namespace brevanto
