#include "html_report.hpp"

#include <charconv>
#include <string_view>

#include "encoding.hpp"
#include "finding_text.hpp"
#include "fixed_text.hpp"
#include "html_escape.hpp"
#include "real_chars.hpp"
#include "task_map.hpp"

namespace brevanto {

namespace {

struct Texts {
  std::string_view lang, title, rules_file, rules, plan, invalid_lines, invalid_count, no_error,
      unreadable, skipped, not_a_plan, line, report_line, task_distance, cannot_draw;
  MapTexts map;
  std::string_view cannot_open, read_error, too_many_turnpoints, no_task, bad_position;
};

const Texts kEnglish = {"en",
                        "Brevanto report",
                        "Rules file: ",
                        "rules",
                        "Flight plan",
                        "Invalid lines",
                        " invalid lines",
                        "No error found",
                        "could not be read",
                        "not a Soarix flight plan, skipped",
                        "not a flight plan",
                        "Line",
                        "Report line",
                        "Task distance: ",
                        "The task of this plan cannot be drawn: ",
                        {"start", "finish", "Penalty zone", "N", Language::english},
                        "the file cannot be opened.",
                        "the file cannot be read to its end.",
                        "it has more than 31 turnpoints.",
                        "it has no turnpoint.",
                        "a turnpoint's position is no number."};
const Texts kFrench = {"fr",
                       "Rapport Brevanto",
                       "Fichier de r\xE8gles : ",
                       "r\xE8gles",
                       "Plan de vol",
                       "Lignes incorrectes",
                       " lignes incorrectes",
                       "Pas d'erreur",
                       "illisible",
                       "not a Soarix flight plan, skipped",
                       "pas un plan de vol",
                       "Ligne",
                       "Ligne du rapport",
                       "Distance de l'\xE9preuve : ",
                       "L'\xE9preuve de ce plan ne peut pas \xEAtre dessin\xE9"
                       "e : ",
                       {"d\xE9part",
                        "arriv\xE9"
                        "e",
                        "Zone de p\xE9nalit\xE9", "N", Language::french},
                       "le fichier ne peut pas \xEAtre ouvert.",
                       "le fichier ne peut pas \xEAtre lu jusqu'au bout.",
                       "il a plus de 31 points de virage.",
                       "il n'a aucun point de virage.",
                       "la position d'un point de virage n'est pas un nombre."};

constexpr std::string_view kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222;background:#fff}"
    "table{border-collapse:collapse;margin:.5em 0}"
    "th,td{border:1px solid #bbb;padding:.2em .6em;text-align:left;vertical-align:top}"
    "th{background:#eee}td.n{text-align:right}"
    ".bad,.bad a{color:#b00}.ok{color:#070}"
    "section.plan{border-top:2px solid #888;margin-top:1.5em}"
    "td.report{font-family:monospace;white-space:pre}"
    "p.note{font-style:italic}p.path{font-family:monospace;overflow-wrap:anywhere}"
    "svg.task-map{border:1px solid #999;background:#f6f8f2;max-width:100%;height:auto}"
    "svg text{font-family:sans-serif;font-size:11px}"
    ".leg{stroke:#1f4e9c;stroke-width:2}"
    ".takeoff-leg{stroke:#777;stroke-width:1.5;stroke-dasharray:6 4}"
    ".leg-length{fill:#1f4e9c;font-size:10px}"
    ".oz{fill:#1f4e9c;fill-opacity:.12;stroke:#1f4e9c}"
    ".pz{fill:#d22;fill-opacity:.15;stroke:#d22;stroke-width:1.5;stroke-dasharray:5 3}"
    ".tp-mark{fill:#fff;stroke:#1f4e9c;stroke-width:2}"
    ".tp-mark.takeoff{fill:#1f4e9c}.tp-mark.start{stroke:#080}.tp-mark.finish{stroke:#000}"
    ".tp-mark.bad{fill:#e00;stroke:#900}.key-mark.bad{fill:#c00;font-weight:bold}"
    ".north path,.scale path{fill:none;stroke:#333;stroke-width:1.5}.north path{fill:#333}";

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

std::string km(float metres) {
  char buf[400];  // room for the largest real
  const auto r = real_to_chars(buf, buf + sizeof buf, static_cast<double>(metres) / 1000,
                               std::chars_format::fixed, 1);
  return (r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?")) + " km";
}

bool has_violations(const PlanFindings& plan) {
  return plan.outcome != PlanOutcome::checked || plan.violations > 0;
}

// What became of a plan that was not checked as a flight plan; empty for one that was.
std::string_view outcome_text(const Texts& t, const PlanFindings& plan) {
  switch (plan.outcome) {
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

// The plan's line in the table of plans.
std::string plan_row(const Texts& t, const PlanFindings& plan, std::size_t n) {
  const std::string id = std::to_string(n);
  std::string count(outcome_text(t, plan));
  if (count.empty()) count = std::to_string(plan.violations);
  return std::string("<tr class=\"") + (has_violations(plan) ? "bad" : "ok") +
         "\"><td class=\"n\">" + id + "</td><td><a href=\"#plan-" + id + "\">" + esc(plan.shown) +
         "</a></td><td class=\"n\">" + esc(count) + "</td></tr>";
}

// The file name that ends a plan's path, for its heading: what follows the last "\" or "/".
// Windows opens a path with either separator, and the program takes both on POSIX.
std::string_view file_name(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/");
  return trim_right(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

// The plan's section: its result, its findings, the map of its task.
std::string plan_section(const Texts& t, Language language, const PlanFindings& plan, std::size_t n,
                         const MapReader& read_map) {
  const std::string id = std::to_string(n);
  std::string html = "<section class=\"plan\" id=\"plan-" + id + "\"><h2>" + id + ". " +
                     esc(file_name(plan.shown)) + "</h2><p class=\"path\">" + esc(plan.shown) +
                     "</p>";
  std::string result(outcome_text(t, plan));
  if (result.empty() && plan.violations == 0) {
    result = std::string(t.no_error);
  } else if (result.empty()) {
    result = std::to_string(plan.violations) + std::string(t.invalid_count);
  }
  html += std::string("<p class=\"result ") + (has_violations(plan) ? "bad" : "ok") + "\">" +
          esc(result) + "</p>";
  if (!plan.findings.empty()) {
    html += "<table class=\"findings\"><tr><th>" + esc(t.line) + "</th><th>" + esc(t.report_line) +
            "</th></tr>";
    for (const Finding& f : plan.findings) {
      html += std::string("<tr class=\"") + (f.verdict == Verdict::ok ? "ok" : "bad") +
              "\"><td class=\"n\">" + (f.line < 0 ? std::string() : std::to_string(f.line)) +
              "</td><td class=\"report\">" + esc(report_line(f, language)) + "</td></tr>";
    }
    html += "</table>";
  }
  // A skipped file was never read: it has no task to draw.
  if (plan.outcome == PlanOutcome::skipped) return html + "</section>";
  const PlanForMap read = read_map(plan);
  if (read.fpl) {
    html += "<figure class=\"map\">" + task_map_svg(*read.fpl, plan.findings, t.map) +
            "<figcaption>" + esc(t.task_distance) + km(read.fpl->dist_tot) +
            "</figcaption></figure>";
  } else {
    html += "<p class=\"note no-map\">" + esc(t.cannot_draw) + esc(problem_text(t, read.problem)) +
            "</p>";
  }
  return html + "</section>";
}

}  // namespace

std::string html_report(const FindingsRecord& record, const HtmlReportHead& head,
                        const MapReader& read_map) {
  const Texts& t = head.language == Language::french ? kFrench : kEnglish;
  std::string html = "<!DOCTYPE html>\n<html lang=\"" + std::string(t.lang) +
                     "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + esc(t.title) +
                     "</title>\n<style>" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
  html += "<h1>" + esc(t.title) + "</h1>\n<p>" + esc(t.rules_file) + esc(head.rules_file) + " (" +
          std::to_string(head.rules) + " " + esc(t.rules) + "), " + esc(head.date) + "</p>\n";
  html += "<table class=\"plans\"><tr><th>#</th><th>" + esc(t.plan) + "</th><th>" +
          esc(t.invalid_lines) + "</th></tr>\n";
  std::size_t n = 0;
  for (const PlanFindings& plan : record.plans())
    html += plan_row(t, plan, ++n) + "\n";
  html += "</table>\n";
  n = 0;
  for (const PlanFindings& plan : record.plans())
    html += plan_section(t, head.language, plan, ++n, read_map) + "\n";
  if (!head.totals.empty()) html += "<p class=\"totals\">" + esc(head.totals) + "</p>\n";
  html += "</body>\n</html>\n";
  return platform::cp1252_to_utf8(html);
}

}  // namespace brevanto
