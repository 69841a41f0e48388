// The CSV export: rows, quoting, encoding and line ends.
#include "csv_report.hpp"

#include <gtest/gtest.h>

#include "findings_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::finding;

TEST(CsvReport, RowsOfCheckedCleanAndUnreadablePlans) {
  FindingsRecord record;
  record.begin_plan("Day 2.fpl", "Day 2.fpl");
  Finding agl = finding(31, "TPHeight1", "2700", "<=", "2000", Verdict::violation, 1, -1);
  agl.agl = true;
  agl.agl_altitude = 2480.0;
  record.add(agl);
  // A value with a comma, a quote and an accent (Windows-1252 inside the program).
  record.add(finding(40, "TPName2", "Col de \"l'\xC9p\xE9\x65\", N", "[]", "Col",
                     Verdict::violation, 2, -1));
  record.add(finding(188, "WindSpeed", "abc", "<", "15", Verdict::incompatible, -1, 1));
  record.add(finding(190, "Class", "Club", "=", "Club;Standard", Verdict::ok, -1, -1));
  record.end_plan(3);
  record.begin_plan("clean.fpl", "clean.fpl");
  record.end_plan(0);
  record.begin_plan("C:\\Cup\\bad, day.fpl", "C:\\Cup\\bad, day.fpl");  // the run stopped on it
  EXPECT_EQ(
      csv_report(record),
      "\xEF\xBB\xBF"
      "plan,line,key,value,relation,expected,verdict,turnpoint,weather_zone\r\n"
      "Day 2.fpl,31,TPHeight1,2700,<=,2000AGL (2480.0),violation,1,\r\n"
      "Day 2.fpl,40,TPName2,\"Col de \"\"l'\xC3\x89p\xC3\xA9\x65\"\", N\",[],Col,violation,2,\r\n"
      "Day 2.fpl,188,WindSpeed,abc,<,15,incompatible,,1\r\n"
      "Day 2.fpl,190,Class,Club,'=,\"Club;Standard\",ok,,\r\n"
      "clean.fpl,,,,,,clean,,\r\n"
      "\"C:\\Cup\\bad, day.fpl\",,,,,,unreadable,,\r\n");
}

// Whichever of "," and ";" a spreadsheet splits at, no cell it makes starts a formula and no
// control character reaches it; plain numbers stay numbers.
TEST(CsvReport, TextsThatASpreadsheetWouldRunStayText) {
  struct Case {
    std::string value;
    const char* field;
  };
  const Case cases[] = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+1+1", "'+1+1"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"-200AGL (1250.0)", "'-200AGL (1250.0)"},
      {"-200", "-200"},
      {"+1.5", "+1.5"},
      {"-2.5E3", "-2.5E3"},
      {"-", "'-"},
      {"1=1", "1=1"},
      // Where a spreadsheet that splits at the other separator starts a cell.
      {"x;=1+1", "\"x;'=1+1\""},
      {"a,-2;+3", "\"a,-2;+3\""},
      {"a, =1", "\"a,' =1\""},
      {"a;\"@x", "\"a;'\"\"@x\""},
      {" =1", "' =1"},
      {"\tx", "\"'\tx\""},
      // Control characters, C0 and the bytes Windows-1252 leaves undefined.
      {std::string("a\0b\x1B"
                   "c\x7F"
                   "d\x81\x8D\x8F\x90\x9D",
                   12),
       "a?b?c?d?????"},
      {"x\r=1\nA", "x?=1?A"},
  };
  for (const char separator : {',', ';'}) {
    for (const Case& c : cases) {
      FindingsRecord record;
      record.begin_plan("p.fpl", "p.fpl");
      record.add(finding(1, "K", c.value, "<", "x", Verdict::violation, -1, -1));
      record.end_plan(1);
      const std::string csv = csv_report(record, separator);
      const std::string row = std::string("p.fpl") + separator + "1" + separator + "K" + separator;
      const std::size_t at = csv.find(row);
      ASSERT_NE(at, std::string::npos) << c.value;
      EXPECT_EQ(csv.substr(at + row.size()), std::string(c.field) + separator + "<" + separator +
                                                 "x" + separator + "violation" + separator +
                                                 separator + "\r\n")
          << c.value;
    }
  }
}

TEST(CsvReport, SemicolonSeparatedForFrenchAndGermanSpreadsheets) {
  FindingsRecord record;
  record.begin_plan("Jour 2, fin.fpl", "Jour 2, fin.fpl");
  Finding f = finding(12, "StartTime", "14.5", "=", "12.0", Verdict::violation, -1, -1);
  record.add(f);
  record.end_plan(1);
  EXPECT_EQ(csv_report(record, ';'),
            "\xEF\xBB\xBFplan;line;key;value;relation;expected;verdict;turnpoint;weather_zone\r\n"
            "\"Jour 2, fin.fpl\";12;StartTime;14.5;'=;12.0;violation;;\r\n");
}

}  // namespace
}  // namespace brevanto
