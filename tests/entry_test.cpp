// Start-up: the settings file, the command line and the executable's folder.
#include <gtest/gtest.h>

#include "entry.hpp"
#include "get_inst_path.hpp"
#include "settings.hpp"
#include "stop.hpp"
#include "temp_dir.hpp"

namespace brevanto {
namespace {

struct Ini {
  int nversini = -7, npopup = 1;
  bool qverb = false, qoklines = false, qask = false;
  float fltpntacy = 1.0e-6f;
};

class RdIniTest : public ::testing::Test {
 protected:
  Ini read(const std::string& text) {
    dir.write("Brevanto.ini", text);
    Ini s;
    rd_ini(dir.str("Brevanto"), s.nversini, s.npopup, s.qverb, s.qoklines, s.qask, s.fltpntacy);
    return s;
  }
  testing::TempDir dir;
};

TEST_F(RdIniTest, NoFileKeepsTheDefaults) {
  Ini s;
  rd_ini(dir.str("Brevanto"), s.nversini, s.npopup, s.qverb, s.qoklines, s.qask, s.fltpntacy);
  EXPECT_EQ(s.nversini, -7);
  EXPECT_EQ(s.npopup, 1);
  EXPECT_FLOAT_EQ(s.fltpntacy, 1.0e-6f);
}

TEST_F(RdIniTest, KeysAreExactAndLastOneWins) {
  const Ini s = read(
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
  Ini s = read("verbose=True\nask=\nOKlines: y\n");
  EXPECT_FALSE(s.qverb);
  EXPECT_FALSE(s.qask);
  EXPECT_TRUE(s.qoklines);  // ":" splits as "=" does
  s = read("verbose=1\n");
  EXPECT_TRUE(s.qverb);
}

TEST_F(RdIniTest, AFailedNumberSetsItsDefaultAndStopsTheReading) {
  Ini s = read("Popup=x\nverbose=yes\n");
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
  const Ini s =
      read("verbose=1" + std::string(300, ' ') + "x\nPopup=" + std::string(250, ' ') + "12345\n");
  EXPECT_TRUE(s.qverb);
  EXPECT_EQ(s.npopup, 1);  // the number lies beyond the cut: a blank value is ignored
}

TEST_F(RdIniTest, AFolderInPlaceOfTheFileKeepsTheDefaults) {
  std::filesystem::create_directory(dir.path() / "Brevanto.ini");
  Ini s;
  rd_ini(dir.str("Brevanto"), s.nversini, s.npopup, s.qverb, s.qoklines, s.qask, s.fltpntacy);
  EXPECT_EQ(s.npopup, 1);
  EXPECT_FALSE(s.qverb);
}

RunSettings parse(std::vector<std::string> args, std::string* console = nullptr) {
  std::string out;
  Console con(console != nullptr ? *console : out);
  RunSettings s;
  s.args = std::move(args);
  parse_command_line(con, s);
  return s;
}

TEST(CommandLine, OptionsAndFilesInAnyOrder) {
  const RunSettings s =
      parse({"Brevanto", "a.fpl", "-verbose", "-fr", "b.fpl", "-en", "-keepalive", "-oklines"});
  EXPECT_TRUE(s.qverb);
  EXPECT_FALSE(s.qfr);  // the later of -fr and -en wins
  EXPECT_TRUE(s.qkeepwnd);
  EXPECT_TRUE(s.qoklines);
  EXPECT_EQ(s.nfil, 2);
  EXPECT_EQ(parse({"Brevanto", "-FR"}).qfr, true);
  EXPECT_EQ(parse({"Brevanto", "-nopopup"}).npopup, 0);
  EXPECT_TRUE(parse({"Brevanto", "-ask"}).qask);
}

TEST(CommandLine, HelpStopsWithStatusZero) {
  std::string out;
  try {
    parse({"prog", "a.fpl", "-helpme"}, &out);
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status, 0);
  }
  EXPECT_EQ(out, " Usage :\n prog [-v] [-help] [-nopopup] [-en][-fr] [-oklines] file(s)\n");
}

TEST(CommandLine, UnrecognisedOptionsStopWithStatusOne) {
  for (const char* bad : {"-english", "-nopopups", "-", "-x", "-asks"}) {
    std::string out;
    try {
      parse({"prog", "a.fpl", bad, "-help"}, &out);
      FAIL() << bad;
    } catch (const ProgramStop& stop) {
      EXPECT_EQ(stop.status, 1);
    }
    EXPECT_EQ(out, " " + std::string(bad) + " : unrecognized option\n prog " +
                       "[-v] [-help] [-nopopup] [-en][-fr] [-oklines] file(s)\n");
  }
}

TEST(InstPath, FolderOfTheExecutable) {
  EXPECT_EQ(folder_of_executable("d:\\x\\prog.exe"), "D:\\x\\");
  EXPECT_EQ(folder_of_executable("C:\\Tools\\Brevanto.exe"), "C:\\Tools\\");
  EXPECT_EQ(folder_of_executable("/opt/brevanto/Brevanto"), "/opt/brevanto/");
  EXPECT_EQ(folder_of_executable("prog"), ".\\");
  EXPECT_EQ(folder_of_executable(""), "");
  const std::string mine = get_inst_path();
  ASSERT_FALSE(mine.empty());
  EXPECT_EQ(mine.back(), '/');
}

}  // namespace
}  // namespace brevanto
