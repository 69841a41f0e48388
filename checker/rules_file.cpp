#include "rules_file.hpp"

#include "extract_key_val.hpp"
#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "text_file.hpp"
#include "to_char.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view cannot_open, more_than, constraints, no_test, to_check;
};
constexpr Texts kEnglish = {"/Cannot be opened", "/More than ", " constraints",
                            "*** DEFAULT_CHECK.fpl : no test defined ***", " constraints to check"};
constexpr Texts kFrench = {"/Ouverture impossible", "/Plus de ", " contraintes",
                           "*** DEFAULT_CHECK.fpl : pas de test d\xE9"
                           "fini ***",
                           " contraintes \xE0 v\xE9rifier"};

const Texts& texts(bool qfr) {
  return qfr ? kFrench : kEnglish;
}

struct Alias {
  std::string_view name, key;
};
constexpr Alias kAliases[] = {{"StartMinAlt", "TPWidth1"},
                              {"StartMaxAlt", "TPHeight1"},
                              {"FinishMinAlt", "TPWidth|"},
                              {"FinishMaxAlt", "TPHeight|"}};

// The qualifier at the start or the end of a value: "BASE<offset>", "<n>AGL", "<n>AMSL".
void apply_qualifiers(Constraint& c, ConstraintTable& table) {
  std::string& v = c.check_val;
  if (v.starts_with("BASE")) {
    c.check_bas = true;
    table.qbase = true;
    v = fit(std::string_view(v).substr(4), kKeyLen);  // a blank after BASE stays in front
    if (v.empty()) v = "+0";
  } else if (v.size() >= 4 && v.ends_with("AGL")) {
    c.check_agl = true;
    v = fit(std::string_view(v).substr(0, v.size() - 3), kKeyLen);
  } else if (v.size() >= 5 && v.ends_with("AMSL")) {
    c.check_agl = false;
    v = fit(std::string_view(v).substr(0, v.size() - 4), kKeyLen);
  }
}

}  // namespace

void set_check_key(Constraint& c, std::string_view key) {
  c.check_key = key;
  c.key_pattern = key_pattern(key);
  c.sectioned = key.starts_with('[') && key.find(']') != std::string_view::npos;
}

void choose_rules_file(Console& con, RunSettings& s, const FileDialog& dialog) {
  if (!s.qask) return;
  con.trace(trim_right(s.deffil));
  const std::optional<std::string> chosen =
      dialog(con, "Brevanto : Select rules file", s.deffil, "*.fpl", "", false);
  con.trace(chosen ? 1 : 0);
  if (chosen && !chosen->empty()) s.deffil = *chosen;
}

std::optional<RulesFault> read_rules_file(const Io& io, const RunSettings& s,
                                          ConstraintTable& table) {
  Console& con = io.con;
  const Texts& t = texts(s.qfr);
  const std::string path(trim_right(s.deffil));
  TextFile file(path);
  if (!file.is_open()) {
    return RulesFault{RulesFault::Kind::cannot_open,
                      escape_slashes(path) + std::string(t.cannot_open)};
  }

  table = ConstraintTable{};
  std::string line, key, val, rel;
  while (file.read_line(line, kLineLen) == TextFile::Status::ok) {
    if (line.starts_with('#')) continue;
    extract_key_val_rel(line, key, val, rel, kKeyLen);
    // Blank lines and section headers have no relation; a blank key can match no plan key.
    if (rel.empty() || val.empty() || key.empty()) continue;

    if (++table.check_num > maxchk) {
      table.check_num = maxchk;
      return RulesFault{RulesFault::Kind::too_many, escape_slashes(path) +
                                                        std::string(t.more_than) + i2b(maxchk) +
                                                        std::string(t.constraints)};
    }
    Constraint& c = table[table.check_num];
    c = Constraint{};
    for (const Alias& a : kAliases) {
      if (key == a.name) key = a.key;
    }
    if (key.ends_with('|')) table.qfinish = true;
    set_check_key(c, key);
    c.key_as_read = key;
    c.check_rel = rel;
    c.check_val = val;
    apply_qualifiers(c, table);
    if (s.qverb) {
      con.trace(table.check_num, c.check_key + " " + c.check_rel + " " + c.check_val, c.check_agl);
    }
    const TypedValue tv = get_val_type(con, c.check_val);
    c.check_typ = tv.typ;
    c.check_flt = tv.fval;
    c.check_int = tv.ival;
    if (c.check_agl) {
      if (c.check_typ != 'C') {
        c.check_typ = 'R';
      } else {
        log_line(io.journal,
                 escape_slashes(c.check_val) + " : AGL only for real or integer values");
      }
    }
  }
  file.close();

  if (table.check_num == 0)
    return RulesFault{RulesFault::Kind::none_defined, std::string(t.no_test)};
  table.index.build(table);
  log_line(io.journal, fmt_i(table.check_num, 2) + " " + std::string(t.to_check));
  log_line(io.journal, " ");
  return std::nullopt;
}

}  // namespace brevanto
