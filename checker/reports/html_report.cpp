#include "html_report.hpp"

#include <charconv>
#include <cmath>
#include <string_view>

#include "console.hpp"
#include "encoding.hpp"
#include "finding_text.hpp"
#include "fixed_text.hpp"
#include "html_escape.hpp"
#include "real_chars.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view lang, title, rules_file, rules, rules_listed, line, rule, plan, invalid_lines,
      invalid_count, no_error, unreadable, skipped, not_a_plan, report_line, task_distance,
      cannot_draw;
  std::string_view cannot_open, read_error, too_many_turnpoints, no_task, bad_position;
  // The facts of a plan.
  std::string_view landscape, turnpoints, distance, start_time, glider_class, glider, cloud_base,
      weather_zone, wind_direction, wind_speed, thermals;
  MapTexts map;
};

const Texts kEnglish = {"en",
                        "Brevanto report",
                        "Rules file: ",
                        "rules",
                        "The rules, with their lines in the rules file",
                        "Line",
                        "Rule",
                        "Flight plan",
                        "Invalid lines",
                        " invalid lines",
                        "No error found",
                        "could not be read",
                        "not a Soarix flight plan, skipped",
                        "not a flight plan",
                        "Report line",
                        "Task distance: ",
                        "The task of this plan cannot be drawn: ",
                        "the file cannot be opened.",
                        "the file cannot be read to its end.",
                        "it has more than 31 turnpoints.",
                        "it has no turnpoint.",
                        "a turnpoint's position is no number.",
                        "Landscape",
                        "Turnpoints (take-off and finish included)",
                        "Task distance",
                        "Start time",
                        "Glider class",
                        "Glider",
                        "Cloud base of the BASE rules",
                        "Weather zone",
                        "Wind direction",
                        "Wind speed",
                        "Thermal strength",
                        {"start", "finish", "Penalty zone", "N", "Take-off", "Turnpoint",
                         "Observation zone", "Turnpoint with a violation", "Leg and its direction",
                         "From the take-off to the start", "... and <n> more (see the log)"}};

const Texts kFrench = {
    "fr",
    "Rapport Brevanto",
    "Fichier de r\xE8gles : ",
    "r\xE8gles",
    "Les r\xE8gles, avec leurs lignes dans le fichier de r\xE8gles",
    "Ligne",
    "R\xE8gle",
    "Plan de vol",
    "Lignes incorrectes",
    " lignes incorrectes",
    "Pas d'erreur",
    "illisible",
    "not a Soarix flight plan, skipped",
    "pas un plan de vol",
    "Ligne du rapport",
    "Distance de l'\xE9preuve : ",
    "L'\xE9preuve de ce plan ne peut pas \xEAtre dessin\xE9"
    "e : ",
    "le fichier ne peut pas \xEAtre ouvert.",
    "le fichier ne peut pas \xEAtre lu jusqu'au bout.",
    "il a plus de 31 points de virage.",
    "il n'a aucun point de virage.",
    "la position d'un point de virage n'est pas un nombre.",
    "Paysage",
    "Points de virage (d\xE9\x63ollage et arriv\xE9"
    "e compris)",
    "Distance de l'\xE9preuve",
    "Heure de d\xE9part",
    "Classe du planeur",
    "Planeur",
    "Base des nuages des r\xE8gles BASE",
    "Zone m\xE9t\xE9o",
    "Direction du vent",
    "Vitesse du vent",
    "Force des thermiques",
    {"d\xE9part",
     "arriv\xE9"
     "e",
     "Zone de p\xE9nalit\xE9", "N", "D\xE9\x63ollage", "Point de virage", "Zone d'observation",
     "Point de virage en infraction", "Branche et son sens", "Du d\xE9\x63ollage au d\xE9part",
     "... et <n> autres (voir le journal)"}};

constexpr std::string_view kStyle =
    "*{box-sizing:border-box}"
    "body{font-family:sans-serif;margin:1.5em;color:#222;background:#fff}"
    "table{border-collapse:collapse;margin:.5em 0;max-width:100%}"
    "th,td{border:1px solid #bbb;padding:.2em .6em;text-align:left;vertical-align:top;"
    "overflow-wrap:anywhere}"
    "th{background:#eee}th,td.n{overflow-wrap:normal}td.n{text-align:right}"
    ".bad,.bad a{color:#b00}.ok{color:#070}"
    "section.plan{border-top:2px solid #888;margin-top:1.5em}"
    ".plan-body{display:flex;flex-wrap:wrap;gap:0 2em;align-items:flex-start}"
    ".plan-text{flex:1 1 30em;min-width:0}"
    "figure.map{flex:0 1 720px;margin:.5em 0;min-width:0}"
    "table.facts th{font-weight:normal}"
    "td.report,td.rule{font-family:monospace;white-space:pre-wrap}"
    "p.note{font-style:italic}p.path{font-family:monospace;overflow-wrap:anywhere}"
    "details.rules summary{cursor:pointer}"
    "svg.task-map{border:1px solid #999;background:#f6f8f2;max-width:100%;height:auto;"
    "display:block}"
    "svg text{font-family:sans-serif;font-size:11px}"
    ".leg{stroke:#1f4e9c;stroke-width:2}.arrow{fill:#1f4e9c;stroke-width:1}"
    ".takeoff-leg{stroke:#777;stroke-width:1.5;stroke-dasharray:6 4}"
    ".takeoff-leg.arrow{fill:#777;stroke-dasharray:none}"
    ".leg-length{fill:#1f4e9c;font-size:10px}"
    ".label-line{stroke:#888;stroke-width:.8}"
    ".oz{fill:#1f4e9c;fill-opacity:.12;stroke:#1f4e9c}"
    ".pz{fill:#d22;fill-opacity:.15;stroke:#d22;stroke-width:1.5;stroke-dasharray:5 3}"
    ".tp-mark{fill:#fff;stroke:#1f4e9c;stroke-width:2}"
    ".tp-mark.takeoff{fill:#1f4e9c}.tp-mark.start{stroke:#080}.tp-mark.finish{stroke:#000}"
    ".tp-mark.bad{fill:#e00;stroke:#900}.key-mark.bad{fill:#c00;font-weight:bold}"
    ".north path,.scale path{fill:none;stroke:#333;stroke-width:1.5}.north path{fill:#333}"
    "ul.legend{list-style:none;padding:0;margin:.4em 0;display:flex;flex-wrap:wrap;"
    "gap:.2em 1.2em;font-size:.85em}"
    "ul.legend li{display:flex;align-items:center;gap:.3em}"
    "ul.legend svg{flex:none}"
    "@media (max-width:600px){body{margin:.5em}th,td{padding:.2em .3em}}"
    "@media print{body{margin:0;font-size:10pt}"
    "section.plan{break-before:page;border-top:none;margin-top:0}"
    "table,tr,figure,ul.legend{break-inside:avoid}"
    ".plan-body{display:block}"
    "svg.task-map{width:auto;height:auto;max-width:100%;max-height:9.5cm}"
    "a{color:inherit;text-decoration:none}}";

const Texts& texts_of(Language language) {
  return language == Language::french ? kFrench : kEnglish;
}

std::string esc(std::string_view text) {
  return html_escape(text);
}

std::string problem_text(const Texts& t, MapProblem p) {
  switch (p) {
    case MapProblem::cannot_open:
      return std::string(t.cannot_open);
    case MapProblem::read_error:
      return std::string(t.read_error);
    case MapProblem::too_many_turnpoints:
      return std::string(t.too_many_turnpoints);
    case MapProblem::no_task:
      return std::string(t.no_task);
    case MapProblem::bad_position:
    case MapProblem::none:
      break;
  }
  return std::string(t.bad_position);
}

bool has_violations(PlanOutcome outcome, long long violations) {
  return outcome != PlanOutcome::checked || violations > 0;
}

// What became of a plan that was not checked as a flight plan; empty for one that was.
std::string_view outcome_text(const Texts& t, PlanOutcome outcome) {
  switch (outcome) {
    case PlanOutcome::unreadable:
      return t.unreadable;
    case PlanOutcome::skipped:
      return t.skipped;
    case PlanOutcome::not_a_plan:
      return t.not_a_plan;
    case PlanOutcome::checked:
      break;
  }
  return {};
}

// The file name that ends a plan's path, for its heading: what follows the last "\" or "/".
// Windows opens a path with either separator, and the program takes both on POSIX.
std::string_view file_name(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  return trim_right(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// A time of day in decimal hours as the clock shows it, with the hours as the plan writes them:
// "13:30 (13.5)".
std::string clock_time(float hours) {
  const double h = hours;
  if (!std::isfinite(h) || h < 0 || h >= 48) return fixed_or_dash(h, 2);
  const long minutes = std::lround(h * 60);
  const std::string mm = std::to_string(minutes % 60);
  char buf[32];
  const auto r = real_to_chars(buf, buf + sizeof buf, h, std::chars_format::general, 6);
  return std::to_string(minutes / 60) + ":" + (mm.size() < 2 ? "0" : "") + mm + " (" +
         std::string(buf, r.ptr) + ")";
}

std::string fact_row(std::string_view name, const std::string& value) {
  return "<tr><th>" + esc(name) + "</th><td>" + esc(value) + "</td></tr>";
}

// The plan's facts: where and how long its task is, when it starts, the glider, the cloud base
// its BASE rules are measured from, and the weather of each zone.
std::string facts_html(const Texts& t, const FlightPlan& fpl) {
  std::string html = "<table class=\"facts\">";
  html += fact_row(t.landscape, fpl.landscape);
  html += fact_row(t.turnpoints, std::to_string(fpl.nb_wp));
  html += fact_row(t.distance, task_km(fpl.dist_tot));
  html += fact_row(t.start_time, clock_time(fpl.starttime));
  html += fact_row(t.glider_class, fpl.glclass);
  html += fact_row(t.glider, fpl.glnam);
  Console quiet{Console::Discard{}};
  html += fact_row(t.cloud_base, fixed_or_dash(get_cloud_base(quiet, fpl), 0) + " m");
  html += "</table>";
  const int zones = std::min(fpl.wzcount, maxwz + 1);
  if (zones <= 0) return html;
  html += "<table class=\"weather\"><tr><th>" + esc(t.weather_zone) + "</th><th>" +
          esc(t.wind_direction) + "</th><th>" + esc(t.wind_speed) + "</th><th>" + esc(t.thermals) +
          "</th></tr>";
  for (int z = 0; z < zones; ++z) {
    html += "<tr><td>" + std::to_string(z) + " " + esc(fpl.wznam[z]) + "</td><td class=\"n\">" +
            esc(fixed_or_dash(fpl.winddir[z], 0)) + "\xB0</td><td class=\"n\">" +
            esc(fixed_or_dash(fpl.windspeed[z], 0)) + "</td><td class=\"n\">" +
            std::to_string(fpl.thermalsstrength[z]) + "</td></tr>";
  }
  return html + "</table>";
}

// A finding's row in its plan's table.
std::string finding_row(const Finding& f, Language language) {
  return std::string("<tr class=\"") + (f.verdict == Verdict::ok ? "ok" : "bad") +
         "\"><td class=\"n\">" + (f.line < 0 ? std::string() : std::to_string(f.line)) +
         "</td><td class=\"report\">" + esc(report_line(f, language)) + "</td></tr>";
}

}  // namespace

HtmlReportHead html_report_head(Language language, std::string rules_file,
                                const ConstraintTable& table, std::string date) {
  HtmlReportHead head{language, std::move(rules_file), table.check_num, std::move(date), "", {}};
  for (int i = 1; i <= table.check_num; ++i)
    head.rule_lines.push_back(RuleLine{table[i].file_line, table[i].line_as_written});
  return head;
}

HtmlReport::HtmlReport(HtmlReportHead head, ReportOutput& sections, MapReader read_map)
    : head_(std::move(head)),
      sections_(sections),
      read_map_(std::move(read_map)),
      marks_(head_.language) {}

void HtmlReport::plan_begun(std::string path, std::string shown) {
  plans_.push_back(PlanRow{std::move(shown), PlanOutcome::unreadable, 0});
  path_ = std::move(path);
  rows_.clear();
  rows_shown_ = 0;
  rows_more_ = 0;
  marks_ = MapMarks(head_.language);
}

void HtmlReport::finding(const Finding& f) {
  if (rows_shown_ < kPageFindings) {
    rows_ += finding_row(f, head_.language);
    ++rows_shown_;
  } else {
    ++rows_more_;
  }
  marks_.add(f);
}

void HtmlReport::plan_ended(PlanOutcome outcome, long long violations) {
  if (plans_.empty()) return;
  PlanRow& plan = plans_.back();
  plan.outcome = outcome;
  plan.violations = violations;
  const Texts& t = texts_of(head_.language);
  const std::string id = std::to_string(plans_.size());
  std::string html = "<section class=\"plan\" id=\"plan-" + id + "\"><h2>" + id + ". " +
                     esc(file_name(plan.shown)) + "</h2><p class=\"path\">" + esc(plan.shown) +
                     "</p>";
  std::string result(outcome_text(t, outcome));
  if (result.empty() && violations == 0) {
    result = std::string(t.no_error);
  } else if (result.empty()) {
    result = std::to_string(violations) + std::string(t.invalid_count);
  }
  html += std::string("<p class=\"result ") + (has_violations(outcome, violations) ? "bad" : "ok") +
          "\">" + esc(result) + "</p>";
  // A skipped file was never read: it has no task to draw.
  PlanForMap read;
  if (outcome != PlanOutcome::skipped) {
    read = read_map_(path_);
  }
  html += "<div class=\"plan-body\"><div class=\"plan-text\">";
  if (read.fpl) html += facts_html(t, *read.fpl);
  if (rows_shown_ > 0) {
    html += "<table class=\"findings\"><tr><th>" + esc(t.line) + "</th><th>" + esc(t.report_line) +
            "</th></tr>" + rows_;
    if (rows_more_ > 0) {
      html += "<tr class=\"more\"><td></td><td>" + esc(more_text(t.map.more, rows_more_)) +
              "</td></tr>";
    }
    html += "</table>";
  }
  html += "</div>";
  if (read.fpl) {
    html += "<figure class=\"map\">" + task_map_svg(*read.fpl, marks_, t.map) + "<figcaption>" +
            esc(t.task_distance) + task_km(read.fpl->dist_tot) + map_legend_html(t.map) +
            "</figcaption></figure>";
  } else if (outcome != PlanOutcome::skipped) {
    html += "<p class=\"note no-map\">" + esc(t.cannot_draw) + esc(problem_text(t, read.problem)) +
            "</p>";
  }
  html += "</div></section>\n";
  sections_.write(platform::cp1252_to_utf8(html));
}

void HtmlReport::write_start(ReportOutput& page) const {
  const Texts& t = texts_of(head_.language);
  std::string html = "<!DOCTYPE html>\n<html lang=\"" + std::string(t.lang) +
                     "\">\n<head>\n<meta charset=\"utf-8\">\n"
                     "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                     "<title>" +
                     esc(t.title) + "</title>\n<style>" + std::string(kStyle) +
                     "</style>\n</head>\n<body>\n";
  html += "<h1>" + esc(t.title) + "</h1>\n<p>" + esc(t.rules_file) + esc(head_.rules_file) + " (" +
          std::to_string(head_.rules) + " " + esc(t.rules) + "), " + esc(head_.date) + "</p>\n";
  if (!head_.totals.empty()) html += "<p class=\"totals\">" + esc(head_.totals) + "</p>\n";
  if (!head_.rule_lines.empty()) {
    html += "<details class=\"rules\"><summary>" + esc(t.rules_listed) +
            "</summary><table><tr><th>" + esc(t.line) + "</th><th>" + esc(t.rule) + "</th></tr>";
    for (const RuleLine& rule : head_.rule_lines) {
      html += "<tr><td class=\"n\">" + std::to_string(rule.line) + "</td><td class=\"rule\">" +
              esc(rule.text) + "</td></tr>";
    }
    html += "</table></details>\n";
  }
  html += "<table class=\"plans\"><tr><th>#</th><th>" + esc(t.plan) + "</th><th>" +
          esc(t.invalid_lines) + "</th></tr>\n";
  std::size_t n = 0;
  for (const PlanRow& plan : plans_) {
    const std::string id = std::to_string(++n);
    std::string count(outcome_text(t, plan.outcome));
    if (count.empty()) count = std::to_string(plan.violations);
    html.append("<tr class=\"")
        .append(has_violations(plan.outcome, plan.violations) ? "bad" : "ok")
        .append("\"><td class=\"n\">")
        .append(id)
        .append("</td><td><a href=\"#plan-")
        .append(id)
        .append("\">")
        .append(esc(plan.shown))
        .append("</a></td><td class=\"n\">" + esc(count) + "</td></tr>\n");
  }
  html += "</table>\n";
  page.write(platform::cp1252_to_utf8(html));
}

void HtmlReport::write_end(ReportOutput& page) const {
  std::string html;
  if (!head_.totals.empty()) html += "<p class=\"totals\">" + esc(head_.totals) + "</p>\n";
  html += "</body>\n</html>\n";
  page.write(platform::cp1252_to_utf8(html));
}

std::string html_report(const FindingsRecord& record, const HtmlReportHead& head,
                        const MapReader& read_map) {
  std::string sections;
  StringOutput sections_out(sections);
  HtmlReport report(head, sections_out, read_map);
  for (const PlanFindings& plan : record.plans()) {
    report.plan_begun(plan.path, plan.shown);
    for (const Finding& f : plan.findings)
      report.finding(f);
    report.plan_ended(plan.outcome, plan.violations);
  }
  std::string page;
  StringOutput out(page);
  report.write_start(out);
  out.write(sections);
  report.write_end(out);
  return page;
}

}  // namespace brevanto
