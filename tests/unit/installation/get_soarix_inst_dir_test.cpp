#include "get_soarix_inst_dir.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "captured_boxes.hpp"
#include "soarix_machine.hpp"
#include "wine_prefix_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::CapturedIo;
using fixtures::reg_key;
using fixtures::TempPrefix;

const std::string kNotDetected2 = " *** Soarix2 installation not detected on this computer ***\n";

// A prefix where version 3 is registered at C:\Sim3, with the given log text.
struct Sim3 {
  TempPrefix prefix;
  Sim3() { prefix.user_reg(reg_key("Software\\Soarix3", {{"InstallDir", "C:\\Sim3"}})); }
  void log(const std::string& text) const { prefix.write_c("Sim3\\Logs\\Logfile.txt", text); }
  int version() const {
    CapturedIo c;
    inst00 inst;
    std::string path;
    return get_soarix_inst_dir(c.io, inst, 3, path, false);
  }
};

TEST(GetSoarixInstDir, ReadsTheVersionFromTheLogOfTheRegisteredFolder) {
  Sim3 sim;
  sim.log("Log opened\nSoarix version: 3012\nOther\n");
  CapturedIo c;
  inst00 inst;
  std::string path = "old";
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, 3, path, false), 3);
  EXPECT_EQ(path, "C:\\Sim3");
  EXPECT_NE(c.out.find("\n C:\\Sim3\n C:\\Sim3\\Logs\\Logfile.txt\n 3\n"), std::string::npos)
      << c.out;
  EXPECT_EQ(c.out.find("not detected"), std::string::npos);
}

TEST(GetSoarixInstDir, VersionLineRules) {
  Sim3 sim;
  const auto with = [&](const std::string& text) {
    sim.log(text);
    return sim.version();
  };
  EXPECT_EQ(with("Soarix version: 3000\n"), 3);
  EXPECT_EQ(with("Soarix version: 3999\n"), 3);
  EXPECT_EQ(with("Soarix version: 2999\n"), 2);
  EXPECT_EQ(with("Soarix version: 3.0\n"), 0);
  EXPECT_EQ(with("Soarix version:3000, build 7\n"), 3);
  EXPECT_EQ(with("Soarix version: \n"), 0);
  EXPECT_EQ(with("soarix version: 3000\n"), 0);   // case-sensitive
  EXPECT_EQ(with(" Soarix version: 3000\n"), 0);  // at the start of the line only
  EXPECT_EQ(with("Soarix version: 99999999999\n"), 0);
  EXPECT_EQ(with("1\n2\n3\n4\n5\nSoarix version: 3000\n"), 3);     // sixth line
  EXPECT_EQ(with("1\n2\n3\n4\n5\n6\nSoarix version: 3000\n"), 0);  // seventh line
  EXPECT_EQ(with("a\r\nSoarix version: 3001\r\n"), 3);             // CRLF
  EXPECT_EQ(with("Soarix version: 3000"), 3);                      // no line end
  // The first version line counts, even when it does not read.
  EXPECT_EQ(with("Soarix version: x\nSoarix version: 3000\n"), 0);
  // A 200-character line is read up to column 132.
  EXPECT_EQ(with("Soarix version: 3000 " + std::string(180, 'x') + "\n"), 3);
  EXPECT_EQ(with("Soarix version:" + std::string(117, ' ') + "3000\n"), 0);
  EXPECT_EQ(with("Soarix version:" + std::string(113, ' ') + "3000\n"), 3);
  // A binary file.
  std::string binary;
  for (int i = 0; i < 4096; ++i)
    binary += static_cast<char>((i * 37) & 0xFF);
  EXPECT_EQ(with(binary), 0);
  EXPECT_EQ(with(""), 0);
}

TEST(GetSoarixInstDir, RegisteredFolderWithoutReadableLogIsVersionZero) {
  Sim3 sim;
  CapturedIo c;
  inst00 inst;
  std::string path;
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, 3, path, false), 0);
  EXPECT_EQ(path, "C:\\Sim3");  // the folder as registered all the same
  std::filesystem::create_directories(sim.prefix.root() / "drive_c/Sim3/Logs/Logfile.txt");
  EXPECT_EQ(sim.version(), 0);  // a folder where the file should be
}

TEST(GetSoarixInstDir, KeyNotReadableIsToldOnTheConsoleUnlessSilent) {
  TempPrefix prefix;
  prefix.user_reg(reg_key("Software\\Soarix3", {{"InstallDir", "C:\\Sim3"}}));
  CapturedIo c;
  inst00 inst;
  std::string path = "old";
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, 2, path, false), 0);
  EXPECT_EQ(path, "");
  EXPECT_NE(c.out.find("USER Open Status : 2\n 2\n" + kNotDetected2), std::string::npos) << c.out;

  c.out.clear();
  path = "old";
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, -2, path, true), 0);
  EXPECT_EQ(path, "");
  EXPECT_EQ(c.out.find("not detected"), std::string::npos);

  c.out.clear();
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, -1, path, false), 0);
  EXPECT_NE(c.out.find(" Subkey,name : SOFTWARE\\Soarix\\ InstallDir \n"), std::string::npos);
  EXPECT_NE(c.out.find(" *** Soarix1 installation not detected on this computer ***\n"),
            std::string::npos);
}

TEST(GetSoarixInstDir, CachedSelectorsAnswerFromTheRecord) {
  TempPrefix prefix;  // no registry at all
  CapturedIo c;
  inst00 inst;
  inst.instpath3 = "C:\\Cached3";
  std::string path;
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, -3, path, true), 3);
  EXPECT_EQ(path, "C:\\Cached3");
  EXPECT_EQ(c.out, "");  // no registry access, no trace
  // Selector 3 always asks the registry; -2 with a blank record too.
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, 3, path, true), 0);
  inst.instpath2 = "   ";
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, -2, path, true), 0);
  EXPECT_NE(c.out.find("SOFTWARE\\Soarix2\\"), std::string::npos);
}

TEST(GetSoarixInstDir, VersionTwoKeyWhoseLogSaysThreeGivesThree) {
  TempPrefix prefix;
  prefix.user_reg(reg_key("Software\\Soarix2", {{"InstallDir", "C:\\Sim2"}}));
  prefix.write_c("Sim2\\Logs\\Logfile.txt", "Soarix version: 3010\n");
  CapturedIo c;
  inst00 inst;
  std::string path;
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, 2, path, false), 3);
}

TEST(GetSoarixInstDir, AnyOtherSelectorIsRefused) {
  TempPrefix prefix;
  for (int nc : {0, 4, -4, 100, std::numeric_limits<int>::min()}) {
    CapturedIo c;
    fixtures::CapturedBoxes boxes;
    inst00 inst;
    std::string path;
    EXPECT_EQ(get_soarix_inst_dir(c.io, inst, nc, path, false), kBadSelector) << nc;
    EXPECT_EQ(c.out, " " + std::to_string(nc) + "\n");
    EXPECT_EQ(boxes.shown(), "Varnek [error]\nget_soarix_inst_dir : incorrect Soarix version\n");
  }
}

// Within a run each landscape's airspace file is read once; one that does not open is said for
// every plan that names it.
TEST(LandscapeAirspaceCount, EachAirspaceFileIsReadOncePerRun) {
  TempPrefix prefix;
  prefix.write_c("Sim3\\Landscapes\\Alps\\Alps.air", "AC R\nAN A\nAC Q\nAN B\n");
  CapturedIo c;
  inst00 inst;
  inst.instpath3 = "C:\\Sim3";
  AirspaceCounts known;
  EXPECT_EQ(landscape_airspace_count(c.io, inst, "Alps", &known), 2);
  prefix.write_c("Sim3\\Landscapes\\Alps\\Alps.air", "AC R\nAC Q\nAC P\n");
  EXPECT_EQ(landscape_airspace_count(c.io, inst, "Alps", &known), 2);
  EXPECT_EQ(landscape_airspace_count(c.io, inst, "Alps"), 3);  // no memory: read again
  const std::string alps = " C:\\Sim3\\Landscapes\\Alps\\Alps.air\n";
  EXPECT_EQ(c.out, alps + alps + alps);

  c.out.clear();
  fixtures::CapturedBoxes boxes;
  EXPECT_EQ(landscape_airspace_count(c.io, inst, "Nowhere", &known), 0);
  EXPECT_EQ(landscape_airspace_count(c.io, inst, "Nowhere", &known), 0);
  const std::string nowhere = "C:\\Sim3\\Landscapes\\Nowhere\\Nowhere.air";
  EXPECT_EQ(c.out, " " + nowhere + "\n " + nowhere + "\n");
  const std::string box = "Varnek [error]\n" + nowhere + "\nAirspace file : error opening\n";
  EXPECT_EQ(boxes.shown(), box + box);
}

TEST(ModifiedDate, SecondsSince1970OrMinusOne) {
  TempPrefix prefix;
  prefix.touch_c("Pilots\\Ann\\FlightPlan.fpl", 1700000000);
  std::string out;
  Console con(out);
  EXPECT_EQ(modified_date(con, "C:\\Pilots\\Ann\\FlightPlan.fpl   "), 1700000000);
  EXPECT_EQ(out, " 1700000000\n");
  out.clear();
  EXPECT_EQ(modified_date(con, "C:\\Pilots\\Bob\\FlightPlan.fpl"), -1);
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace brevanto

namespace brevanto {
namespace {

using fixtures::Installed;
using fixtures::SoarixMachine;

TEST(CheckSoarixInstall, OnlyVersionThree) {
  SoarixMachine m;
  m.v3 = SoarixMachine::version3();
  m.build();
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 3);
  EXPECT_FALSE(inst.qs2);
  EXPECT_TRUE(inst.qs3);
  EXPECT_EQ(inst.soarix_version, 3);
  EXPECT_EQ(inst.instpath2, "");
  EXPECT_EQ(inst.instpath3, "C:\\Program Files\\Soarix3");
  EXPECT_EQ(inst.rootpath3, "C:\\Users\\Ann\\Documents\\Soarix3\\");
  EXPECT_EQ(inst.pilpath3, "C:\\Users\\Ann\\Documents\\Soarix3\\Pilots\\Ann");
  EXPECT_EQ(inst.sorxinstpath, inst.instpath3);
  EXPECT_EQ(inst.sorxrootpath, inst.rootpath3);
  EXPECT_EQ(inst.sorxpilpath, inst.pilpath3);
  EXPECT_NE(c.out.find(kNotDetected2), std::string::npos);
  EXPECT_NE(c.out.find("\nSoarix 3 install path: C:\\Program Files\\Soarix3\n"), std::string::npos);
}

TEST(CheckSoarixInstall, BothVersionsLeaveTheChoiceOpen) {
  SoarixMachine m;
  m.v2 = SoarixMachine::version2();
  m.v3 = SoarixMachine::version3();
  m.build();
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 3);
  EXPECT_TRUE(inst.qs2);
  EXPECT_TRUE(inst.qs3);
  EXPECT_EQ(inst.soarix_version, 0);
  EXPECT_EQ(inst.sorxinstpath, "C:\\Program Files\\Soarix3");
  EXPECT_EQ(inst.rootpath2, "C:\\Users\\Ann\\Documents\\Soarix\\");
  EXPECT_EQ(inst.pilpath2, "C:\\Users\\Ann\\Documents\\Soarix\\Pilots\\Bob");
  EXPECT_EQ(c.out.find("not detected"), std::string::npos);
  // The log lines come in version order.
  EXPECT_LT(c.out.find("Soarix 2 install path: C:\\Sim2\n"), c.out.find("Soarix 3 install path: "));
}

TEST(CheckSoarixInstall, OnlyVersionTwo) {
  SoarixMachine m;
  m.v2 = SoarixMachine::version2();
  m.build();
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 2);
  EXPECT_EQ(inst.soarix_version, 2);
  EXPECT_EQ(inst.sorxinstpath, "C:\\Sim2");
  EXPECT_EQ(inst.sorxrootpath, "C:\\Users\\Ann\\Documents\\Soarix\\");
  EXPECT_NE(c.out.find(" *** Soarix3 installation not detected on this computer ***\n"),
            std::string::npos);
}

TEST(CheckSoarixInstall, NothingFoundLeavesTheActiveFields) {
  SoarixMachine m;
  m.build();
  CapturedIo c;
  inst00 inst;
  inst.soarix_version = 7;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 0);
  EXPECT_EQ(inst.soarix_version, 7);
  EXPECT_EQ(inst.sorxinstpath, "");
  EXPECT_EQ(inst.sorxrootpath, "");
  const std::size_t first = c.out.find(kNotDetected2);
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(c.out.find(" *** Soarix3 installation not detected on this computer ***\n", first),
            std::string::npos);
}

TEST(CheckSoarixInstall, AVersionNeedsItsLogVersionAndItsExecutable) {
  SoarixMachine m;
  m.v2 = SoarixMachine::version2();
  m.v2->log = "Soarix version: 3010\n";  // a version-3 folder registered as version 2
  m.v3 = SoarixMachine::version3();
  m.v3->exe = false;
  m.build();
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 0);
  EXPECT_FALSE(inst.qs2);
  EXPECT_FALSE(inst.qs3);
  EXPECT_EQ(inst.instpath3, "C:\\Program Files\\Soarix3");  // the registered folder is kept
  // ... and the flight-plan reader's question is answered from the record.
  std::string path;
  c.out.clear();
  EXPECT_EQ(get_soarix_inst_dir(c.io, inst, -3, path, true), 3);
  EXPECT_EQ(path, "C:\\Program Files\\Soarix3");
  EXPECT_EQ(c.out, "");
}

TEST(CheckSoarixInstall, FoldersNotFoundDoNotUndoTheInstallation) {
  SoarixMachine m;
  m.userprofile.clear();  // USERPROFILE undefined everywhere
  m.v2 = SoarixMachine::version2();
  m.v3 = SoarixMachine::version3();
  m.build();
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 3);
  EXPECT_TRUE(inst.qs2 && inst.qs3);
  EXPECT_EQ(inst.rootpath2, "");
  EXPECT_EQ(inst.pilpath2, "");
  EXPECT_EQ(inst.rootpath3, "3");
  EXPECT_EQ(inst.pilpath3, "3");
}

// A folder registered in another case than it has on disk is the same folder.
TEST(CheckSoarixInstall, InstallFolderRegisteredInAnotherCase) {
  SoarixMachine m;
  m.v3 = Installed{"C:\\PROGRAM FILES\\SOARIX3", "", false, "Ann"};  // registry only
  m.build();
  const Installed files = SoarixMachine::version3();
  m.write(files.folder + "\\Logs\\Logfile.txt", files.log);
  m.write(files.folder + "\\Soarix.exe", "MZ");
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 3);
  EXPECT_TRUE(inst.qs3);
  EXPECT_EQ(inst.instpath3, "C:\\PROGRAM FILES\\SOARIX3");
}

TEST(CheckSoarixInstall, NativeInstallFolderStaysOneLineInTheLog) {
  SoarixMachine m;
  m.v3 = SoarixMachine::version3();
  m.v3->folder = (m.prefix.root() / "opt/soarix3").string();
  m.build();
  CapturedIo c;
  inst00 inst;
  EXPECT_EQ(check_soarix_install(c.io, inst, " "), 3);
  EXPECT_NE(c.out.find("\nSoarix 3 install path: " + m.v3->folder + "\n"), std::string::npos)
      << c.out;
}

}  // namespace
}  // namespace brevanto
