// The findings of a run as CSV, for spreadsheets and league servers, row by row as they come.
#pragma once

#include <string>
#include <string_view>

#include "findings.hpp"
#include "report_output.hpp"

namespace brevanto {

// The file: the header "plan,line,key,value,relation,expected,verdict,turnpoint,weather_zone",
// then, plan by plan, one row per finding (verdict "violation", "incompatible", "ok", "missing"
// or "finish unknown"; no line number for the last two but a Count line), and a row of the plan's
// own for a checked plan without violation ("plan,,,,,,clean,,"), a plan the run could not read
// ("unreadable") and a file skipped for its name ("skipped"); a file without a single flight-plan
// line has its finding ("not a plan"). UTF-8 with a byte-order mark, so that Excel reads accented
// names right; CR LF line ends.
//
// Every field is data to any spreadsheet, whichever of "," and ";" it splits rows at:
// - a control character (C0 but the tab, and the C1 controls, which are the bytes Windows-1252
//   leaves undefined) becomes "?";
// - a field holding ",", ";", a double quote, a tab or a line end is put in double quotes, its
//   quotes doubled (RFC 4180);
// - where a spreadsheet may start a cell, at the field's start or after a "," or ";" inside it, a
//   text that would read as a formula (its first character other than blanks and quotes is "=",
//   "+", "-" or "@", or it starts with a tab) and is no plain number such as "-200" gets a "'"
//   in front, so that it stays text.
class CsvReport {
 public:
  // Writes the byte-order mark and the header to `out`; `separator` separates the fields: ","
  // (the default) or ";", which spreadsheets in French or German expect.
  explicit CsvReport(ReportOutput& out, char separator = ',');

  // The rows of a plan, named as the report shows it, follow.
  void plan_begun(std::string_view shown);
  void finding(const Finding& finding);
  // The plan's own row, unless its findings say how it went.
  void plan_ended(PlanOutcome outcome, long long violations);

 private:
  void row(std::initializer_list<std::string_view> fields);

  ReportOutput& out_;
  char separator_;
  std::string plan_;  // the plan's name as a field
};

// The whole file of a record of findings.
std::string csv_report(const FindingsRecord& record, char separator = ',');

}  // namespace brevanto
