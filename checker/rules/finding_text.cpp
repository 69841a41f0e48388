#include "finding_text.hpp"

#include <cmath>
#include <cstdint>
#include <string_view>

#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "to_char.hpp"

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

const Texts& texts(Language language) {
  return language == Language::french ? kFrench : kEnglish;
}

// Where the rule's requirement starts in a report line.
constexpr std::size_t kShouldBeColumn = 40;

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

// The integer nearest to x (halves away from zero) as text; asterisks when out of range.
std::string nearest_int_text(double x) {
  const double r = std::round(x);
  if (!(std::fabs(r) <= 2147483647.0)) return std::string(16, '*');
  return i2b(static_cast<std::int32_t>(r));
}

std::string zone_suffix(const Finding& f) {
  return f.zone_shown ? "[" + i2b(f.weather_zone) + "]" : std::string();
}

// The rule's relation and value, as "should be: " introduces them.
std::string requirement(const Finding& f) {
  return f.relation + " " + expected_text(f);
}

}  // namespace

std::string expected_text(const Finding& f) {
  if (f.verdict == Verdict::incompatible) return f.rule_value;
  std::string text = f.rule_value;
  if (f.base_altitude)
    text = "BASE" + f.rule_value + " (" + nearest_int_text(*f.base_altitude) + ")";
  if (f.agl) {
    text += "AGL";
    if (f.agl_altitude) text += " (" + std::string(trim_left(fmt_f(*f.agl_altitude, 12, 1))) + ")";
  }
  return text;
}

std::string report_line(const Finding& f, Language language) {
  const Texts& t = texts(language);
  switch (f.verdict) {
    case Verdict::ok:
      return f.key + " : OK";
    case Verdict::incompatible:
      return f.key + " : " + std::string(t.incompatible) + f.value + "," + f.rule_value;
    case Verdict::missing:
      return at_column_40(f.key + " : " + std::string(t.missing),
                          std::string(t.should_be) + requirement(f));
    case Verdict::finish_unknown:
      return at_column_40(f.key + " : " + f.value, t.finish_unknown);
    case Verdict::not_a_plan:
      return std::string(t.not_a_plan);
    case Verdict::violation:
      break;
  }
  std::string key = f.key;
  if (f.sector_type_0 && key.starts_with("TPWidth")) key += " (Min Alt)";
  return at_column_40(key + zone_suffix(f) + " : " + f.value,
                      std::string(t.should_be) + requirement(f));
}

std::string invalid_lines_text(long long count, Language language) {
  // The two-character field of the report's first form, as long as it holds the count.
  return (count < 100 ? fmt_i(count, 2) : std::to_string(count)) +
         std::string(language == Language::french ? " lignes incorrectes" : " invalid lines");
}

std::string popup_line(const Finding& f, Language language) {
  const Texts& t = texts(language);
  switch (f.verdict) {
    case Verdict::ok:
      return {};
    case Verdict::incompatible:
    case Verdict::not_a_plan:
      return report_line(f, language);
    case Verdict::missing:
      return f.key + " : " + std::string(t.missing) + std::string(t.popup_should_be) +
             requirement(f);
    case Verdict::finish_unknown:
      return f.key + " : " + f.value + " " + std::string(t.finish_unknown);
    case Verdict::violation:
      break;
  }
  // At a sector of type 0 the popup names the key as the plan writes it.
  const std::string key = f.sector_type_0 ? f.key : f.key + zone_suffix(f);
  return key + " : " + f.value + std::string(t.popup_should_be) + requirement(f);
}

}  // namespace brevanto
