// The CSV export: rows, quoting, encoding and line ends.
#include "csv_report.hpp"

#include <gtest/gtest.h>

namespace brevanto {
namespace {

Finding finding(int line, std::string key, std::string value, std::string relation,
                std::string rule_value, Verdict verdict, int turnpoint, int zone) {
  Finding f;
  f.line = line;
  f.key = std::move(key);
  f.value = std::move(value);
  f.relation = std::move(relation);
  f.rule_value = std::move(rule_value);
  f.verdict = verdict;
  f.turnpoint = turnpoint;
  f.weather_zone = zone;
  return f;
}

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
      "Day 2.fpl,190,Class,Club,=,Club;Standard,ok,,\r\n"
      "clean.fpl,,,,,,clean,,\r\n"
      "\"C:\\Cup\\bad, day.fpl\",,,,,,unreadable,,\r\n");
}

TEST(CsvReport, TextsThatASpreadsheetWouldRunStayText) {
  struct Case {
    const char* value;
    const char* field;
  };
  const Case cases[] = {
      {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+1+1", "'+1+1"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"-200AGL (1250.0)", "'-200AGL (1250.0)"},
      // plain numbers keep their sign
      {"-200", "-200"},
      {"+1.5", "+1.5"},
      {"-2.5E3", "-2.5E3"},
      {"-", "'-"},
      {"1=1", "1=1"},
  };
  for (const Case& c : cases) {
    FindingsRecord record;
    record.begin_plan("p.fpl", "p.fpl");
    record.add(finding(1, "K", c.value, "=", "x", Verdict::violation, -1, -1));
    record.end_plan(1);
    const std::string csv = csv_report(record);
    const std::size_t row = csv.find("p.fpl,1,K,");
    ASSERT_NE(row, std::string::npos) << c.value;
    EXPECT_EQ(csv.substr(row + 10), std::string(c.field) + ",=,x,violation,,\r\n") << c.value;
  }
}

}  // namespace
}  // namespace brevanto
