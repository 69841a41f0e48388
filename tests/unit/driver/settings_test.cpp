// The settings file Brevanto.ini.
#include "settings.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include "temp_dir.hpp"

namespace brevanto {
namespace {

class RdIniTest : public ::testing::Test {
 protected:
  RunSettings read(const std::string& text) {
    dir.write("Brevanto.ini", text);
    return read_back();
  }
  // The settings file's keys over the defaults (Version starts at -7 to show it untouched).
  RunSettings read_back() {
    RunSettings start;
    start.nversini = -7;
    return rd_ini(dir.str("Brevanto"), start);
  }
  fixtures::TempDir dir;
};

TEST_F(RdIniTest, NoFileKeepsTheDefaults) {
  const RunSettings s = read_back();
  EXPECT_EQ(s.nversini, -7);
  EXPECT_EQ(s.npopup, 1);
  EXPECT_FLOAT_EQ(s.fltpntacy, 1.0e-6f);
}

TEST_F(RdIniTest, KeysAreExactAndLastOneWins) {
  const RunSettings s = read(
      "Version=1800\r\nPopup=2\r\nverbose=yes\r\n# ask=1\r\nAsk=1\r\naskPopup=1\r\n"
      "OKlines=1\r\nFltPntAcy = 0.01\r\nPopup=3\r\n");
  EXPECT_EQ(s.nversini, 1800);
  EXPECT_EQ(s.npopup, 3);
  EXPECT_TRUE(s.qverb);
  EXPECT_FALSE(s.qask);  // "Ask", "askPopup" and the comment are not "ask"
  EXPECT_TRUE(s.qoklines);
  EXPECT_FLOAT_EQ(s.fltpntacy, 0.01f);
}

TEST_F(RdIniTest, YesNoValuesAndBlankValues) {
  RunSettings s = read("verbose=True\nask=\nOKlines: y\n");
  EXPECT_FALSE(s.qverb);
  EXPECT_FALSE(s.qask);
  EXPECT_TRUE(s.qoklines);  // ":" splits as "=" does
  s = read("verbose=1\n");
  EXPECT_TRUE(s.qverb);
  EXPECT_TRUE(read("Unused=yes\n").qunused);
  EXPECT_FALSE(read("Unused=no\nunused=1\n").qunused);
  EXPECT_TRUE(read("Missing=yes\n").qmissing);
  EXPECT_TRUE(read("KeepGoing=1\n").qkeepgoing);
  // The CSV's separator: "," or ";", nothing else.
  EXPECT_EQ(read("CsvSeparator=;\n").csv_separator, ';');
  EXPECT_EQ(read("CsvSeparator=;\nCsvSeparator=,\n").csv_separator, ',');
  EXPECT_EQ(read("CsvSeparator=;\nCsvSeparator=|\n").csv_separator, ';');
}

TEST_F(RdIniTest, AFailedNumberSetsItsDefaultAndStopsTheReading) {
  RunSettings s = read("Popup=x\nverbose=yes\n");
  EXPECT_EQ(s.npopup, 0);
  EXPECT_FALSE(s.qverb);
  s = read("verbose=yes\nFltPntAcy=abc\nPopup=3\n");
  EXPECT_TRUE(s.qverb);
  EXPECT_FLOAT_EQ(s.fltpntacy, 1.0e-6f);
  EXPECT_EQ(s.npopup, 1);
  s = read("Version=99999999999\nPopup=3\n");  // overflow is a failed read
  EXPECT_EQ(s.nversini, 0);
  EXPECT_EQ(s.npopup, 1);
  s = read(std::string("Popup=2\0x\n", 10) + "verbose=1\n");  // a NUL makes junk of the number
  EXPECT_EQ(s.npopup, 0);
  EXPECT_FALSE(s.qverb);
}

TEST_F(RdIniTest, LongLinesAreCutAt256Characters) {
  const RunSettings s =
      read("verbose=1" + std::string(300, ' ') + "x\nPopup=" + std::string(250, ' ') + "12345\n");
  EXPECT_TRUE(s.qverb);
  EXPECT_EQ(s.npopup, 1);  // the number lies beyond the cut: a blank value is ignored
}

TEST_F(RdIniTest, QuietAndTheRulesFile) {
  RunSettings s = read("Quiet=yes\nRules = Day 2\\club rules.fpl  \n");
  EXPECT_TRUE(s.qquiet);
  EXPECT_EQ(s.rules_file, "Day 2\\club rules.fpl");
  s = read("Rules=\nquiet=1\n");
  EXPECT_FALSE(s.qquiet);
  EXPECT_EQ(s.rules_file, "");
  // A name is taken whole, blanks at the width of other lines included: cut, it would name
  // another file. One longer than any path names none.
  const std::string folder = std::string(240, 'f') + "   x";
  const std::string name = folder + "\\" + std::string(300, 'r') + ".fpl";
  s = read("Rules=" + name + "\nverbose=1\n");
  EXPECT_EQ(s.rules_file, name);
  EXPECT_TRUE(s.qverb);
  s = read("Rules=a.fpl\nRules=" + std::string(40000, 'r') + "\nPopup=2\n");
  EXPECT_EQ(s.rules_file, "a.fpl");
  EXPECT_EQ(s.npopup, 2);
}

TEST_F(RdIniTest, AFolderInPlaceOfTheFileKeepsTheDefaults) {
  std::filesystem::create_directory(dir.path() / "Brevanto.ini");
  const RunSettings s = read_back();
  EXPECT_EQ(s.npopup, 1);
  EXPECT_FALSE(s.qverb);
}

}  // namespace
}  // namespace brevanto
