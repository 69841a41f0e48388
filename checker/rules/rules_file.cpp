#include "rules_file.hpp"

#include "extract_key_val.hpp"
#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "rule_lint.hpp"
#include "text_file.hpp"
#include "to_char.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view cannot_open, more_than, constraints, no_test, to_check;
};
constexpr Texts kEnglish = {"/rules file cannot be opened", "/More than ", " constraints",
                            "*** DEFAULT_CHECK.fpl : no test defined ***", " constraints to check"};
constexpr Texts kFrench = {"/fichier de r\xE8gles : ouverture impossible", "/Plus de ",
                           " contraintes",
                           "*** DEFAULT_CHECK.fpl : pas de test d\xE9"
                           "fini ***",
                           " contraintes \xE0 v\xE9rifier"};

const Texts& texts(Language language) {
  return language == Language::french ? kFrench : kEnglish;
}

struct Alias {
  std::string_view name, key;
};
constexpr Alias kAliases[] = {{"StartMinAlt", "TPWidth1"},
                              {"StartMaxAlt", "TPHeight1"},
                              {"FinishMinAlt", "TPWidth|"},
                              {"FinishMaxAlt", "TPHeight|"}};

// The qualifier at the start or the end of a value: "BASE<offset>", "<n>AGL", "<n>AMSL".
void apply_qualifiers(Constraint& rule, ConstraintTable& table) {
  std::string& value = rule.check_val;
  if (value.starts_with("BASE")) {
    rule.check_bas = true;
    table.qbase = true;
    value = fit(std::string_view(value).substr(4), kKeyLen);  // a blank after BASE stays in front
    if (value.empty()) value = "+0";
  } else if (value.size() >= 4 && value.ends_with("AGL")) {
    rule.check_agl = true;
    value = fit(std::string_view(value).substr(0, value.size() - 3), kKeyLen);
  } else if (value.size() >= 5 && value.ends_with("AMSL")) {
    rule.check_agl = false;
    value = fit(std::string_view(value).substr(0, value.size() - 4), kKeyLen);
  }
}

}  // namespace

RulesFault rules_file_cannot_be_opened(std::string_view path, Language language) {
  return RulesFault{RulesFault::Kind::cannot_open,
                    escape_slashes(path) + std::string(texts(language).cannot_open)};
}

std::optional<RulesFault> read_rules(Console& trace, TextFile& file, std::string_view path,
                                     const CheckOptions& options, ConstraintTable& table,
                                     ReportSink& sink) {
  const Texts& messages = texts(options.language);
  table = ConstraintTable{};
  std::string line, key, val, rel;
  long long file_line = 0;
  while (file.read_line(line, kLineLen) == TextFile::Status::ok) {
    ++file_line;
    if (line.starts_with('#')) continue;
    extract_key_val_rel(line, key, val, rel, kKeyLen);
    // Blank lines and section headers have no relation; a blank key can match no plan key.
    if (rel.empty() || val.empty() || key.empty()) continue;

    if (++table.check_num > maxchk) {
      table.check_num = maxchk;
      return RulesFault{RulesFault::Kind::too_many,
                        escape_slashes(path) + std::string(messages.more_than) + i2b(maxchk) +
                            std::string(messages.constraints)};
    }
    Constraint& rule = table[table.check_num];
    rule = Constraint{};
    for (const Alias& alias : kAliases) {
      if (key == alias.name) key = alias.key;
    }
    if (key.ends_with('|')) table.qfinish = true;
    rule.check_key = key;
    rule.key_pattern = key_pattern(key);
    rule.sectioned = key.starts_with('[') && key.find(']') != std::string::npos;
    rule.line_as_written = trim_right(line);
    rule.file_line = file_line;
    rule.check_rel = rel;
    rule.check_val = val;
    apply_qualifiers(rule, table);
    if (options.qverb) {
      trace.trace(table.check_num, rule.check_key + " " + rule.check_rel + " " + rule.check_val,
                  rule.check_agl);
    }
    const TypedValue typed = get_val_type(trace, rule.check_val);
    rule.check_typ = typed.typ;
    rule.check_flt = typed.fval;
    rule.check_int = typed.ival;
    // An AGL text stays a text with its AGL mark; the warnings say so.
    if (rule.check_agl && rule.check_typ != 'C') rule.check_typ = 'R';
  }
  file.close();

  if (table.check_num == 0)
    return RulesFault{RulesFault::Kind::none_defined, std::string(messages.no_test)};
  table.index.build(table);
  sink.report_line(fmt_i(table.check_num, 2) + " " + std::string(messages.to_check));
  report_rule_warnings(sink, table, options.language);
  sink.report_line(" ");
  return std::nullopt;
}

}  // namespace brevanto
