#include "get_active_soarix_version.hpp"

#include <gtest/gtest.h>

#include "soarix_machine.hpp"
#include "wine_prefix_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::CapturedIo;
using fixtures::SoarixMachine;
using fixtures::TempPrefix;

constexpr std::time_t T = 1700000000;

// Both versions known to the record, with the files of the date rule on drive C:.
struct BothInstalled {
  TempPrefix prefix;
  inst00 inst;
  BothInstalled() {
    inst.qs2 = inst.qs3 = true;
    inst.instpath2 = "C:\\Sim2";
    inst.instpath3 = "C:\\Sim3";
    inst.rootpath2 = "C:\\Docs\\Soarix\\";
    inst.rootpath3 = "C:\\Docs\\Soarix3\\";
    inst.pilpath2 = "C:\\Docs\\Soarix\\Pilots\\Bob";
    inst.pilpath3 = "C:\\Docs\\Soarix3\\Pilots\\Ann";
  }
  void fpl2(std::time_t t) const { prefix.touch_c("Docs\\Soarix\\Pilots\\Bob\\FlightPlan.fpl", t); }
  void fpl3(std::time_t t) const {
    prefix.touch_c("Docs\\Soarix3\\Pilots\\Ann\\FlightPlan.fpl", t);
  }
  void log2(std::time_t t) const { prefix.touch_c("Sim2\\Logs\\Logfile.txt", t); }
  void log3(std::time_t t) const { prefix.touch_c("Sim3\\Logs\\Logfile.txt", t); }
  int active() {
    CapturedIo c;
    get_active_soarix_version(c.io, inst);
    return inst.soarix_version;
  }
};

TEST(GetActiveSoarixVersion, TheNewestFileWins) {
  {
    BothInstalled b;
    b.fpl3(T);
    b.fpl2(T + 1);
    b.log2(T - 10);
    b.log3(T - 10);
    EXPECT_EQ(b.active(), 2);
    EXPECT_EQ(b.inst.sorxinstpath, "C:\\Sim2");
    EXPECT_EQ(b.inst.sorxrootpath, "C:\\Docs\\Soarix\\");
    EXPECT_EQ(b.inst.sorxpilpath, "C:\\Docs\\Soarix\\Pilots\\Bob");
    // Called again, the dates of that moment decide.
    b.log3(T + 5);
    EXPECT_EQ(b.active(), 3);
    EXPECT_EQ(b.inst.sorxpilpath, "C:\\Docs\\Soarix3\\Pilots\\Ann");
  }
  {
    BothInstalled b;  // no file at all
    EXPECT_EQ(b.active(), 2);
  }
  {
    BothInstalled b;  // only a log of version 3
    b.log3(T);
    EXPECT_EQ(b.active(), 3);
  }
}

TEST(GetActiveSoarixVersion, TiesGoToTheEarlierCandidate) {
  {
    BothInstalled b;  // all four equal: version 3's plan is examined first
    b.fpl3(T);
    b.fpl2(T);
    b.log3(T);
    b.log2(T);
    EXPECT_EQ(b.active(), 3);
  }
  {
    BothInstalled b;  // version 2's plan beats version 3's log of the same second
    b.fpl2(T);
    b.log3(T);
    b.log2(T - 1);
    EXPECT_EQ(b.active(), 2);
  }
  {
    BothInstalled b;  // version 3's log beats version 2's log
    b.log3(T);
    b.log2(T);
    EXPECT_EQ(b.active(), 3);
  }
}

// The last player's name, as registered, may differ in case from the pilot's folder.
TEST(GetActiveSoarixVersion, PilotFolderInAnotherCase) {
  BothInstalled b;
  b.inst.pilpath3 = "C:\\DOCS\\soarix3\\pilots\\ANN";
  b.fpl3(T + 10);
  b.log3(T - 10);
  b.log2(T);
  EXPECT_EQ(b.active(), 3);
  EXPECT_EQ(b.inst.sorxpilpath, "C:\\DOCS\\soarix3\\pilots\\ANN");
}

TEST(GetActiveSoarixVersion, TracesTheDatesAndTheChoice) {
  BothInstalled b;
  b.fpl2(T);
  CapturedIo c;
  get_active_soarix_version(c.io, b.inst);
  EXPECT_EQ(
      c.out,
      " get_active_soarix_version\n \n 1700000000\n 2 C:\\Sim2 C:\\Docs\\Soarix\\Pilots\\Bob\n");
}

TEST(GetActiveSoarixVersion, OneVersionNeedsNoDates) {
  BothInstalled b;
  b.inst.qs2 = false;
  b.fpl2(T + 100);
  EXPECT_EQ(b.active(), 3);
  b.inst.qs2 = true;
  b.inst.qs3 = false;
  EXPECT_EQ(b.active(), 2);
}

TEST(GetActiveSoarixVersion, LooksForTheInstallationsWhenNoneIsKnown) {
  SoarixMachine m;
  m.v3 = SoarixMachine::version3();
  m.build();
  CapturedIo c;
  inst00 inst;
  get_active_soarix_version(c.io, inst);
  EXPECT_TRUE(inst.qs3);
  EXPECT_EQ(inst.soarix_version, 3);
  EXPECT_EQ(inst.sorxinstpath, "C:\\Program Files\\Soarix3");
  EXPECT_NE(c.out.find("Soarix 3 install path: "), std::string::npos);
}

TEST(GetActiveSoarixVersion, NothingInstalledKeepsTheRecordsChoice) {
  SoarixMachine m;
  m.build();
  CapturedIo c;
  inst00 inst;
  // The user-files folders are left alone by a search that finds nothing.
  inst.rootpath2 = "C:\\Docs\\Soarix\\";
  inst.rootpath3 = "C:\\Docs\\Soarix3\\";
  inst.soarix_version = 2;
  get_active_soarix_version(c.io, inst);
  EXPECT_FALSE(inst.qs2 || inst.qs3);
  EXPECT_EQ(inst.soarix_version, 2);
  EXPECT_EQ(inst.sorxrootpath, "C:\\Docs\\Soarix\\");
  inst.soarix_version = 0;
  get_active_soarix_version(c.io, inst);
  EXPECT_EQ(inst.soarix_version, 0);
  EXPECT_EQ(inst.sorxrootpath, "C:\\Docs\\Soarix3\\");
}

}  // namespace
}  // namespace brevanto
