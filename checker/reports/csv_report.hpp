// The findings of a run as CSV, for spreadsheets and league servers.
#pragma once

#include <string>

#include "findings.hpp"

namespace brevanto {

// The whole file: the header "plan,line,key,value,relation,expected,verdict,turnpoint,
// weather_zone", then, plan by plan, one row per finding (verdict "violation", "incompatible",
// "ok", "missing" or "finish unknown"; no line number for the last two but a Count line), and a
// row of the plan's own for a checked plan without violation ("plan,,,,,,clean,,"), a plan the run
// could not read ("unreadable"), a file skipped for its name ("skipped") and a file without a
// single flight-plan line ("not a plan"). Fields are quoted as RFC 4180 asks
// (a field holding a comma, a double quote or a line end is put in double quotes, its quotes
// doubled); a text from a plan or a rule that a spreadsheet would take for a formula (it begins
// with "=", "+", "-", "@", a tab or a carriage return and is no plain number) gets a leading "'",
// so that it stays text. UTF-8 with a byte-order mark, so that Excel reads accented names right;
// CR LF line ends.
std::string csv_report(const FindingsRecord& record);

}  // namespace brevanto
