#include "rule_lint.hpp"

#include <algorithm>
#include <optional>

#include "chars.hpp"
#include "fixed_text.hpp"
#include "number_read.hpp"
#include "plan_keys.hpp"
#include "to_char.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view rule, line, never_matches, backwards, no_plan_key, did_you_mean,
      several_sections, qualify, time_of_day, reads_as, decimal_point, agl_on_text;
};
constexpr Texts kEnglish = {"*** rule ",
                            " (line ",
                            "its key can never match a flight-plan key",
                            "a relation written backwards: did you mean ",
                            "its key is no flight-plan key",
                            ": did you mean ",
                            " stands in several sections of a plan",
                            ": qualify it, e.g. ",
                            " is a time of day: times are decimal hours: ",
                            " reads as ",
                            ": decimal point: ",
                            "AGL only for real or integer values"};
constexpr Texts kFrench = {"*** r\xE8gle ",
                           " (ligne ",
                           "sa cl\xE9 ne peut correspondre \xE0 aucune cl\xE9 de plan de vol",
                           "une relation \xE9"
                           "crite \xE0 l'envers : vouliez-vous dire ",
                           "sa cl\xE9 n'est pas une cl\xE9 de plan de vol",
                           " : vouliez-vous dire ",
                           " figure dans plusieurs sections d'un plan",
                           " : pr\xE9"
                           "cisez-la, par exemple ",
                           " est une heure du jour : les heures s'\xE9"
                           "crivent en d\xE9"
                           "cimal : ",
                           " se lit ",
                           " : point d\xE9"
                           "cimal : ",
                           "AGL seulement pour les valeurs r\xE9"
                           "elles ou enti\xE8res"};

const Texts& texts(Language language) {
  return language == Language::french ? kFrench : kEnglish;
}

bool all_digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), platform::is_digit);
}

// A rule key taken apart: its section, the name it speaks of, and how the name ends.
struct KeyForm {
  enum class Kind {
    plain,       // the key itself
    numbered,    // a family followed by its number: "TPRadius3"
    any_ending,  // a prefix followed by "*"
    turnpoints,  // a turnpoint family followed by "|", "$", "?" or "%"
  };
  Kind kind = Kind::plain;
  std::string_view section;  // "[Plane]", or nothing
  std::string_view stem;     // the name without its ending
  std::string_view ending;   // the wildcard, "|" or the number
};

KeyForm key_form(std::string_view key) {
  KeyForm form;
  if (key.starts_with('[')) {
    const std::size_t close = key.find(']');
    form.section = key.substr(0, close + 1);
    key = key.substr(close + 1);
  }
  form.stem = key;
  if (key.empty()) return form;
  const char last = key.back();
  if (last == '*' || last == '$' || last == '?' || last == '%' || last == '|') {
    form.kind = last == '*' ? KeyForm::Kind::any_ending : KeyForm::Kind::turnpoints;
    form.stem = key.substr(0, key.size() - 1);
    form.ending = key.substr(key.size() - 1);
    return form;
  }
  const std::size_t digits = key.find_last_not_of("0123456789");
  if (digits != std::string_view::npos && digits + 1 < key.size()) {
    form.kind = KeyForm::Kind::numbered;
    form.stem = key.substr(0, digits + 1);
    form.ending = key.substr(digits + 1);
  }
  return form;
}

// Whether a plan holds some key that `form` selects.
bool some_plan_key(const KeyForm& form) {
  const std::string_view stem = form.stem;
  const std::vector<PlanKey>& keys = flight_plan_keys();
  switch (form.kind) {
    case KeyForm::Kind::plain:
    case KeyForm::Kind::numbered:
      return plan_key_of(std::string(stem) + std::string(form.ending)).has_value();
    case KeyForm::Kind::any_ending:
      return std::any_of(keys.begin(), keys.end(), [stem](const PlanKey& k) {
        // A prefix of a key, or a family with the start of its number ("TPRadius1*").
        return k.name.starts_with(stem) ||
               (k.numbered && stem.starts_with(k.name) &&
                stem.find_first_not_of("0123456789XYZ", k.name.size()) == std::string_view::npos);
      });
    case KeyForm::Kind::turnpoints:
      return std::any_of(keys.begin(), keys.end(),
                         [stem](const PlanKey& k) { return k.per_turnpoint && k.name == stem; });
  }
  return false;
}

// Whether a key of the vocabulary may stand in `form`'s place.
bool fits(const KeyForm& form, const PlanKey& k) {
  switch (form.kind) {
    case KeyForm::Kind::plain:
      return !k.numbered;
    case KeyForm::Kind::numbered:
      return k.numbered;
    case KeyForm::Kind::any_ending:
      return true;
    case KeyForm::Kind::turnpoints:
      return k.per_turnpoint;
  }
  return false;
}

// The edits that make `a` into `b` (a letter added, dropped, changed, two neighbours swapped),
// counted up to `bound`: any more count as bound + 1.
std::size_t edits(std::string_view a, std::string_view b, std::size_t bound) {
  const std::size_t longer = std::max(a.size(), b.size()), shorter = std::min(a.size(), b.size());
  if (longer - shorter > bound) return bound + 1;
  // Three rows of the table of distances between the starts of a and b.
  std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j)
    previous[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t change = a[i - 1] == b[j - 1] ? 0 : 1;
      row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + change});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
        row[j] = std::min(row[j], before[j - 2] + 1);
    }
    std::swap(before, previous);
    std::swap(previous, row);
  }
  return std::min(previous[b.size()], bound + 1);
}

// The relation a key's last character and the relation after it were meant to be: "=>", "=<"
// and "<>" are split by the rules file's reading into a key ending with "=" or "<" and the
// relation ">" or "<".
std::optional<std::string_view> meant_relation(const Constraint& rule) {
  const std::string_view key = trim_right(rule.check_key);
  if (key.empty()) return std::nullopt;
  if (key.back() == '=' && rule.check_rel == ">") return ">=";
  if (key.back() == '=' && rule.check_rel == "<") return "<=";
  if (key.back() == '<' && rule.check_rel == ">") return "!=";
  return std::nullopt;
}

// A value written as a time of day, "12:30" or "12:30:15", as decimal hours ("12.5"): at least
// one decimal, at most two.
std::optional<std::string> decimal_hours(std::string_view value) {
  value = trim_right(trim_left(value));
  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    const std::size_t colon = value.find(':', from);
    parts.push_back(value.substr(from, colon == std::string_view::npos ? colon : colon - from));
    if (colon == std::string_view::npos) break;
    from = colon + 1;
  }
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  int seconds = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string_view part = parts[i];
    if (!all_digits(part) || part.size() > 2 || (i > 0 && part.size() != 2)) return std::nullopt;
    const int n = read_int(part).value_or(0);
    if (n >= (i == 0 ? 24 : 60)) return std::nullopt;
    seconds = seconds * 60 + n;
  }
  if (parts.size() == 2) seconds *= 60;
  const int hundredths = (seconds * 100 + 1800) / 3600;
  std::string text = std::to_string(hundredths / 100) + "." + std::to_string(hundredths / 10 % 10);
  if (hundredths % 10 != 0) text += std::to_string(hundredths % 10);
  return text;
}

// A number written with a decimal comma ("14,5"), which reads as its integer part: the value
// with a decimal point.
std::optional<std::string> with_decimal_point(const Constraint& rule) {
  if (rule.check_typ == 'C') return std::nullopt;
  std::string_view value = trim_right(trim_left(rule.check_val));
  const std::size_t comma = value.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  std::string_view whole = value.substr(0, comma);
  if (whole.starts_with('-') || whole.starts_with('+')) whole.remove_prefix(1);
  if (!all_digits(whole) || !all_digits(value.substr(comma + 1))) return std::nullopt;
  std::string text(value);
  text[comma] = '.';
  return text;
}

// The section to name in the example of a key that several sections hold: one whose header is
// always the same.
std::string_view example_section(unsigned sections) {
  if ((sections & in_version) != 0) return "[Version]";
  if ((sections & in_task) != 0) return "[Task]";
  if ((sections & in_plane) != 0) return kPlaneHeader;
  if ((sections & in_description) != 0) return "[Description]";
  return "[WeatherZone0]";
}

bool several(unsigned sections) {
  return (sections & (sections - 1)) != 0;
}

}  // namespace

bool key_can_never_match(std::string_view check_key) {
  check_key = trim_right(check_key);
  // "[Section]Key" is compared with the plan's section header followed by the line's key: the
  // header is any line the plan begins with "[", so only what follows the "]" is a plan key.
  std::string_view plan_key = check_key;
  if (check_key.starts_with('[')) {
    const std::size_t close = check_key.find(']');
    if (close != std::string_view::npos) {
      plan_key = check_key.substr(close + 1);
      if (plan_key.empty()) return true;
    }
  }
  if (plan_key.find('=') != std::string_view::npos) return true;
  // The matcher sees a finish key with its "|" made the finish turnpoint's number.
  std::string matched(check_key);
  if (matched.ends_with('|')) matched.back() = '1';
  return key_pattern(matched).kind == KeyPattern::Kind::misplaced;
}

std::string nearest_plan_key(std::string_view key) {
  const KeyForm form = key_form(trim_right(key));
  if (form.stem.empty()) return {};
  const std::size_t bound = form.stem.size() < 6 ? 1 : 2;
  const PlanKey* nearest = nullptr;
  std::size_t best = bound + 1;
  for (const PlanKey& k : flight_plan_keys()) {
    if (!fits(form, k)) continue;
    const std::size_t d = edits(form.stem, k.name, bound);
    if (d < best) {
      best = d;
      nearest = &k;
    }
  }
  if (nearest == nullptr) return {};
  return std::string(form.section) + std::string(nearest->name) + std::string(form.ending);
}

std::vector<std::string> rule_warnings(int number, const Constraint& rule, Language language) {
  const Texts& t = texts(language);
  std::vector<std::string> whats;
  const std::string_view key = trim_right(rule.check_key);

  // What is wrong with the key: one warning at most, the most telling.
  const KeyForm form = key_form(key);
  // A "[" without "]" is a key of its own kind: any line that begins so, headers included.
  const bool judged = !key.starts_with('[') || !form.section.empty();
  if (const std::optional<std::string_view> meant = meant_relation(rule)) {
    whats.push_back(std::string(t.backwards) + std::string(*meant));
  } else if (key_can_never_match(key)) {
    whats.emplace_back(t.never_matches);
  } else if (judged && !some_plan_key(form)) {
    std::string what(t.no_plan_key);
    if (const std::string nearest = nearest_plan_key(key); !nearest.empty())
      what += std::string(t.did_you_mean) + nearest;
    whats.push_back(what);
  } else if (form.section.empty() && form.kind == KeyForm::Kind::plain) {
    const std::optional<PlanKey> plan_key = plan_key_of(key);
    if (plan_key && several(plan_key->sections)) {
      whats.push_back(std::string(key) + std::string(t.several_sections) + std::string(t.qualify) +
                      std::string(example_section(plan_key->sections)) + std::string(key));
    }
  }

  // What is wrong with the value, where a number is meant: "[]" looks for a text.
  const bool text_sought = rule.check_rel == "[]";
  if (const std::optional<std::string> hours = decimal_hours(rule.check_val);
      hours && !text_sought) {
    whats.push_back(std::string(trim_left(rule.check_val)) + std::string(t.time_of_day) + *hours);
  } else if (const std::optional<std::string> point = with_decimal_point(rule);
             point && !text_sought) {
    whats.push_back(std::string(trim_left(rule.check_val)) + std::string(t.reads_as) +
                    std::to_string(rule.check_int) + std::string(t.decimal_point) + *point);
  }
  if (rule.check_agl && rule.check_typ == 'C') whats.emplace_back(t.agl_on_text);

  std::vector<std::string> lines;
  lines.reserve(whats.size());
  for (const std::string& what : whats) {
    lines.push_back(std::string(t.rule) + i2b(number) + std::string(t.line) +
                    std::to_string(rule.file_line) + ") : " + rule.line_as_written + " : " + what +
                    " ***");
  }
  return lines;
}

void report_rule_warnings(ReportSink& sink, const ConstraintTable& table, Language language) {
  for (int i = 1; i <= table.check_num; ++i) {
    for (const std::string& line : rule_warnings(i, table[i], language))
      sink.report_line(line);
  }
}

}  // namespace brevanto
