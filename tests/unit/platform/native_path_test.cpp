// The path mapping of POSIX systems: a Windows path with a drive letter names a file of the
// Wine prefix.
#include <gtest/gtest.h>

#include "platform.hpp"
#include "wine_prefix_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::ScopedEnv;
using fixtures::TempPrefix;

TEST(NativePath, DriveCIsTheDosdevicesLinkOrDriveC) {
  TempPrefix prefix;
  const std::string root = prefix.root().string();
  EXPECT_EQ(platform::native_path("C:\\Sim3\\Soarix.exe"), root + "/drive_c/Sim3/Soarix.exe");
  EXPECT_EQ(platform::native_path("c:\\x"), root + "/drive_c/x");
  EXPECT_EQ(platform::native_path("C:"), root + "/drive_c");

  std::filesystem::create_directories(prefix.root() / "dosdevices");
  std::filesystem::create_directories(prefix.root() / "elsewhere");
  std::filesystem::create_directory_symlink(prefix.root() / "elsewhere",
                                            prefix.root() / "dosdevices" / "c:");
  EXPECT_EQ(platform::native_path("C:\\Sim3\\Soarix.exe"), root + "/dosdevices/c:/Sim3/Soarix.exe");
  prefix.write_raw("elsewhere/Sim3/Soarix.exe", "");
  EXPECT_TRUE(platform::file_exists("C:\\Sim3\\Soarix.exe"));
  EXPECT_FALSE(platform::file_exists("C:\\Sim3\\Other.exe"));
}

TEST(NativePath, OtherDrivesLeadToTheirLinkOrToNothing) {
  TempPrefix prefix;
  const std::string root = prefix.root().string();
  EXPECT_EQ(platform::native_path("D:\\Docs\\a.fpl"), root + "/dosdevices/d:/Docs/a.fpl");
  prefix.write_raw("drive_c/Docs/a.fpl", "");
  EXPECT_FALSE(platform::file_exists("D:\\Docs\\a.fpl"));  // no such drive
  std::filesystem::create_directories(prefix.root() / "dosdevices");
  std::filesystem::create_directory_symlink(prefix.root() / "drive_c",
                                            prefix.root() / "dosdevices" / "d:");
  EXPECT_TRUE(platform::file_exists("D:\\Docs\\a.fpl"));
  EXPECT_TRUE(platform::modification_time("d:\\Docs\\a.fpl").has_value());
}

TEST(NativePath, WindowsNamesAreConvertedNativeOnesKept) {
  TempPrefix prefix;
  const std::string root = prefix.root().string();
  // Wine names files in UTF-8; the program's texts are Windows-1252.
  EXPECT_EQ(platform::native_path("C:\\R\xE9mi"), root + "/drive_c/R\xC3\xA9mi");
  prefix.write_raw("drive_c/Pilots/R\xC3\xA9mi/FlightPlan.fpl", "");
  EXPECT_TRUE(platform::file_exists("C:\\Pilots\\R\xE9mi\\FlightPlan.fpl"));
  // A native path: only its separators change, its bytes are the file system's.
  EXPECT_EQ(platform::native_path("/tmp/R\xE9mi\\x.fpl"), "/tmp/R\xE9mi/x.fpl");
  EXPECT_EQ(platform::native_path("rules\\DEFAULT_CHECK.fpl"), "rules/DEFAULT_CHECK.fpl");
  EXPECT_EQ(platform::native_path("1:\\x"), "1:/x");
}

// Windows names ignore case: a component that is not there as written is the folder's entry
// that matches it without regard to case, in ASCII and in the accented letters of Windows-1252.
TEST(NativePath, DrivePathsFindTheirFilesWhateverTheCase) {
  TempPrefix prefix;
  const std::string c = prefix.root().string() + "/drive_c/";
  prefix.write_raw("drive_c/Program Files/Soarix3/Soarix.exe", "");
  prefix.write_raw("drive_c/Users/Andr\xC3\xA9/\xC5\x92uvre/\xC3\x89t\xC3\xA9.fpl", "");
  prefix.write_raw("drive_c/Dup/README", "");
  prefix.write_raw("drive_c/Dup/ReadMe", "");
  prefix.write_raw("drive_c/Dup/readme", "");
  const struct {
    std::string windows, native;
  } cases[] = {
      {"C:\\PROGRAM FILES\\SOARIX3\\soarix.EXE", c + "Program Files/Soarix3/Soarix.exe"},
      {"c:\\program files\\soarix3\\", c + "Program Files/Soarix3/"},
      {"C:\\USERS\\ANDR\xC9\\\x9Cuvre\\\xE9T\xC9.FPL",
       c + "Users/Andr\xC3\xA9/\xC5\x92uvre/\xC3\x89t\xC3\xA9.fpl"},
      {"C:\\Dup\\readme", c + "Dup/readme"},  // the exact one first
      {"C:\\Dup\\Readme", c + "Dup/README"},  // then the first in sorted order
      // What is not there stays as written, from the first missing component on.
      {"C:\\program files\\Other\\SOARIX.EXE", c + "Program Files/Other/SOARIX.EXE"},
      {"C:\\Users\\ANDRE\\x", c + "Users/ANDRE/x"},  // an accent is no case
  };
  for (const auto& k : cases) {
    EXPECT_EQ(platform::native_path(k.windows), k.native) << k.windows;
  }
  // Every lookup goes through the same mapping.
  EXPECT_TRUE(platform::file_exists("C:\\PROGRAM FILES\\SOARIX3\\SOARIX.EXE"));
  EXPECT_TRUE(
      platform::modification_time("c:\\users\\andr\xE9\\\x8CUVRE\\\xC9T\xE9.fpl").has_value());
  // A native path is the file system's own: no case is ignored there.
  EXPECT_FALSE(platform::file_exists(c + "program files/soarix3/Soarix.exe"));
}

TEST(NativePath, WithoutWineprefixTheHomeFolderHoldsThePrefix) {
  ScopedEnv home("HOME", "/home/pilot");
  {
    ScopedEnv prefix("WINEPREFIX", std::nullopt);
    EXPECT_EQ(platform::native_path("C:\\x"), "/home/pilot/.wine/drive_c/x");
  }
  ScopedEnv prefix("WINEPREFIX", "");
  EXPECT_EQ(platform::native_path("E:\\x"), "/home/pilot/.wine/dosdevices/e:/x");
}

}  // namespace
}  // namespace brevanto
