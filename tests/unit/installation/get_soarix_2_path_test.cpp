#include "get_soarix_2_path.hpp"

#include <gtest/gtest.h>

#include "wine_prefix_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::CapturedIo;
using fixtures::reg_key;
using fixtures::ScopedEnv;
using fixtures::TempPrefix;

std::string shell_folders(const std::string& personal) {
  return "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell Folders] "
         "1\n\"Personal\"=str(2):\"" +
         fixtures::reg_text(personal) + "\"\n\n";
}

const std::string kAnnPrefix =
    shell_folders("%USERPROFILE%\\Documents") +
    reg_key("Volatile Environment", {{"USERPROFILE", "C:\\Users\\Ann"}}) +
    reg_key("Software\\Soarix3", {{"LastPlayer", "Ann"}}) +
    reg_key("Software\\Soarix2", {{"LastPlayer", "Bob"}});

struct Found {
  std::optional<std::string> path;
  std::string out;
};

Found find(int version, bool qpilot, bool qconfirm = false,
           std::optional<std::string_view> documents = std::nullopt) {
  CapturedIo c;
  Found f;
  f.path = get_soarix_user_path(c.io, version, "", qconfirm, qpilot, documents);
  f.out = c.out;
  return f;
}

TEST(GetSoarixUserPath, ExpandsTheDocumentsVariableAndAddsTheVersionFolders) {
  TempPrefix prefix;
  prefix.user_reg(kAnnPrefix);
  EXPECT_EQ(find(3, true).path, "C:\\Users\\Ann\\Documents\\Soarix3\\Pilots\\Ann");
  EXPECT_EQ(find(3, false).path, "C:\\Users\\Ann\\Documents\\Soarix3\\");
  EXPECT_EQ(find(2, true).path, "C:\\Users\\Ann\\Documents\\Soarix\\Pilots\\Bob");
  EXPECT_EQ(find(2, false).path, "C:\\Users\\Ann\\Documents\\Soarix\\");
}

TEST(GetSoarixUserPath, WritesEveryTraceLine) {
  TempPrefix prefix;
  prefix.user_reg(kAnnPrefix);
  CapturedIo c;
  EXPECT_EQ(get_soarix_2_path(c.io, 3, " ", false, true),
            "C:\\Users\\Ann\\Documents\\Soarix3\\Pilots\\Ann");
  EXPECT_EQ(c.out,
            " \n \n \n \n \n \n \n"
            " get_soarix_user_path\n"
            " qconfirm,qpilot,qdocreg F T T\n"
            " 3\n"
            " Subkey,name : Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
            "Folders\\ Personal \n"
            "USER Open Status : 0\n"
            "Query Status, Length : 0 24\n"
            "value : %USERPROFILE%\\Documents \n"
            "Status : 0\n"
            " 0 24\n"
            " path %USERPROFILE%\\Documents\n"
            " folder \\Documents\n"
            " ENV USERPROFILE\n"
            " path C:\\Users\\Ann\n"
            " 22 C:\\Users\\Ann\\Documents\n"
            " Subkey,name : SOFTWARE\\Soarix3\\ LastPlayer \n"
            "USER Open Status : 0\n"
            "Query Status, Length : 0 4\n"
            "value : Ann \n"
            "Status : 0\n"
            " 0 4\n"
            " player Ann\n"
            " Final Path : C:\\Users\\Ann\\Documents\\Soarix3\\Pilots\\Ann\n"
            " get_soarix_user_path= 1\n"
            " get_soarix_user_path= 1\n");
}

TEST(GetSoarixUserPath, DocumentsSettingShapes) {
  TempPrefix prefix;
  const auto with = [&](const std::string& personal, bool qpilot = false) {
    prefix.user_reg(shell_folders(personal) +
                    reg_key("Volatile Environment",
                            {{"HOMEPATH", "\\users\\ann"}, {"USERPROFILE", "C:\\Users\\Ann"}}) +
                    reg_key("Software\\Soarix2", {{"LastPlayer", "Bob"}}));
    return find(2, qpilot);
  };
  EXPECT_EQ(with("D:\\Docs").path, "D:\\Docs\\Soarix\\");
  EXPECT_EQ(with("D:\\Docs", true).path, "D:\\Docs\\Soarix\\Pilots\\Bob");
  EXPECT_EQ(with("X:%HOMEPATH%\\Docs").path, "\\users\\ann\\Docs\\Soarix\\");  // X: is lost
  // A variable with no "\" after it: up to its closing "%", nothing follows.
  EXPECT_EQ(with("%USERPROFILE%").path, "C:\\Users\\Ann\\Soarix\\");
  EXPECT_EQ(with("%USERPROFILE%Documents").path, "C:\\Users\\Ann\\Soarix\\");
  EXPECT_EQ(with("%USERPROFILE").path, "C:\\Users\\Ann\\Soarix\\");
  // A "\" before the variable: the variable still runs to the next "\".
  EXPECT_EQ(with("\\%USERPROFILE%\\Docs").path, "C:\\Users\\Ann\\Docs\\Soarix\\");
  // An empty setting ends the search: nothing found.
  Found f = with("");
  EXPECT_EQ(f.path, std::nullopt);
  EXPECT_NE(f.out.find(" get_soarix_user_path= 0\n"), std::string::npos);
}

TEST(GetSoarixUserPath, LastPlayerMissingOrLong) {
  TempPrefix prefix;
  prefix.user_reg(shell_folders("D:\\Docs") +
                  reg_key("Software\\Soarix2", {{"LastPlayer", std::string(45, 'p')}}));
  Found f = find(3, true);
  EXPECT_EQ(f.path, "D:\\Docs");  // no pilot: the documents folder alone
  EXPECT_NE(f.out.find(" player \n"), std::string::npos);
  f = find(2, true);
  EXPECT_EQ(f.path, "D:\\Docs\\Soarix\\Pilots\\" + std::string(40, 'p'));
  // A blank documents setting and no pilot: the blank folder is handed back, and nothing found.
  prefix.user_reg(shell_folders("   "));
  f = find(3, true);
  EXPECT_EQ(f.path, "");
  EXPECT_NE(f.out.find(" get_soarix_user_path= 0\n"), std::string::npos) << f.out;
}

TEST(GetSoarixUserPath, OnlyVersionThreeHasItsOwnFolder) {
  TempPrefix prefix;
  prefix.user_reg(shell_folders("D:\\Docs"));
  EXPECT_EQ(find(3, false).path, "D:\\Docs\\Soarix3\\");
  for (int other : {2, 0, 1, 4, 33})
    EXPECT_EQ(find(other, false).path, "D:\\Docs\\Soarix\\") << other;
}

TEST(GetSoarixUserPath, UndefinedVariableIsReportedOnTheConsole) {
  TempPrefix prefix;  // USERPROFILE undefined in the process and in the prefix
  prefix.user_reg(shell_folders("%USERPROFILE%\\Documents"));
  CapturedIo c;
  EXPECT_EQ(get_soarix_user_path(c.io, 3, "", false, true), std::nullopt);
  EXPECT_NE(c.out.find(" ENV USERPROFILE\n Error getting environment variable\nUSERPROFILE\n"
                       " get_soarix_user_path= 0\n"),
            std::string::npos)
      << c.out;
  EXPECT_EQ(c.out.find("Final Path"), std::string::npos);

  // Defined but empty, or too long for its room: the same.
  {
    ScopedEnv empty("USERPROFILE", "");
    Found f = find(2, false);
    EXPECT_EQ(f.path, std::nullopt);
    EXPECT_NE(f.out.find("Error getting environment variable\nUSERPROFILE\n"), std::string::npos);
  }
  ScopedEnv longer("USERPROFILE", "C:\\" + std::string(508, 'u'));
  EXPECT_EQ(find(2, false).path, std::nullopt);
}

TEST(GetSoarixUserPath, DocumentsNotReadable) {
  TempPrefix prefix;
  prefix.user_reg(reg_key("Software\\Soarix3", {{"LastPlayer", "Ann"}}));
  Found f = find(3, true);
  EXPECT_EQ(f.path, std::nullopt);
  EXPECT_NE(f.out.find(" 2 0\n Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
                       "Folders NOT READABLE\n get_soarix_user_path= 0\n"),
            std::string::npos)
      << f.out;
}

TEST(GetSoarixUserPath, StartingFolderGivenByTheCaller) {
  TempPrefix prefix;  // no registry: it is not asked for the documents
  Found f = find(2, false, false, "E:\\Mine");
  EXPECT_EQ(f.path, "E:\\Mine\\Soarix\\");
  EXPECT_NE(f.out.find(" qconfirm,qpilot,qdocreg F F F\n E:\\Mine\n"), std::string::npos) << f.out;
  EXPECT_EQ(find(3, false, false, "E:\\Mine").path, "E:\\Mine\\Soarix3\\");
  EXPECT_EQ(find(2, false, false, "   ").path, std::nullopt);
}

TEST(GetSoarixUserPath, CancelledFolderDialogChoosesNothing) {
  ScopedEnv display("DISPLAY", std::nullopt);  // no dialog can show: it answers cancelled
  ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  TempPrefix prefix;
  prefix.user_reg(kAnnPrefix);
  Found f = find(3, true, true);
  EXPECT_EQ(f.path, std::nullopt);
  EXPECT_NE(f.out.find(" Final Path : C:\\Users\\Ann\\Documents\\Soarix3\\Pilots\\Ann\n"),
            std::string::npos);
  // Without qpilot the folder found is handed over without a dialog.
  f = find(3, false, true);
  EXPECT_EQ(f.path, "C:\\Users\\Ann\\Documents\\Soarix3\\");
}

}  // namespace
}  // namespace brevanto
