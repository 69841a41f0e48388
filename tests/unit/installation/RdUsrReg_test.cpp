#include "RdUsrReg.hpp"

#include <gtest/gtest.h>

#include "wine_prefix_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::reg_key;
using fixtures::ScopedEnv;
using fixtures::TempPrefix;

struct Read {
  int status = -99;
  std::string value = "unchanged";
  int len = 0;
  std::string trace;
};

Read read_reg(std::string_view subkey, std::string_view name, int len = 0) {
  Read r;
  r.len = len;
  Console con(r.trace);
  r.status = RdUsrReg(con, subkey, name, r.value, r.len);
  return r;
}

const std::string kSoarix3Key = reg_key("Software\\Soarix3", {{"InstallDir", "C:\\Sim3"}});

// What Wine itself answers for a registry file it wrote.
TEST(RdUsrReg, ReadsTheWineFixtureAsWineDoes) {
  ScopedEnv prefix("WINEPREFIX", BREVANTO_TEST_DATA "/wine-prefix");
  ScopedEnv profile("USERPROFILE", std::nullopt);
  ScopedEnv homepath("HOMEPATH", std::nullopt);
  ScopedEnv temp("TEMP", std::nullopt);

  Read r = read_reg("SOFTWARE\\Soarix3\\", "InstallDir");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.value, "C:\\Program Files\\Soarix3");
  EXPECT_EQ(r.len, 25);

  r = read_reg("SOFTWARE\\Soarix2\\", "LastPlayer");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.value, "R\xE9mi \"le Faucon\"");
  EXPECT_EQ(r.len, 17);

  r = read_reg("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\",
               "Personal");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.value, "%USERPROFILE%\\Documents");  // as stored, not expanded

  std::string value = "unchanged";
  EXPECT_EQ(MyGetEnv("USERPROFILE", value, 511), 13);
  EXPECT_EQ(value, "C:\\users\\root");
  EXPECT_EQ(MyGetEnv("HOMEPATH", value, 511), 11);  // [Volatile Environment]
  EXPECT_EQ(value, "\\users\\root");
  EXPECT_EQ(MyGetEnv("TEMP", value, 511), 18);  // [Environment]
  EXPECT_EQ(value, "C:\\users\\root\\Temp");
}

TEST(RdUsrReg, WritesItsTraceLinesInTheirFormats) {
  TempPrefix prefix;
  prefix.user_reg(kSoarix3Key);

  EXPECT_EQ(read_reg("SOFTWARE\\Soarix3\\", "InstallDir").trace,
            " Subkey,name : SOFTWARE\\Soarix3\\ InstallDir \n"
            "USER Open Status : 0\n"
            "Query Status, Length : 0 8\n"
            "value : C:\\Sim3 \n"
            "Status : 0\n");
  // A missing value: the key is closed, the query's status returned, len left alone.
  Read r = read_reg("SOFTWARE\\Soarix3\\", "LastPlayer");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.len, 0);
  EXPECT_EQ(r.value, "unchanged");
  EXPECT_EQ(r.trace,
            " Subkey,name : SOFTWARE\\Soarix3\\ LastPlayer \n"
            "USER Open Status : 0\n"
            "Query Status, Length : 2 255\n"
            "Status : 0\n");
  // A missing key: nothing after the open.
  r = read_reg("SOFTWARE\\Soarix2\\", "InstallDir");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.trace,
            " Subkey,name : SOFTWARE\\Soarix2\\ InstallDir \n"
            "USER Open Status : 2\n");
}

TEST(RdUsrReg, NegativeLengthReadsTheClassesRootOfTheMachineHive) {
  TempPrefix prefix;
  prefix.user_reg(reg_key("Software\\Classes\\.fpl", {{"", "User.Plan"}}));
  prefix.system_reg("[Software\\\\Classes\\\\.fpl] 1796692303\n@=\"Soarix.FlightPlan\"\n");
  Read r = read_reg(".fpl", "", -1);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.value, "Soarix.FlightPlan");
  EXPECT_EQ(r.len, 18);
  EXPECT_EQ(r.trace,
            " Subkey,name : .fpl  \n"
            "Query Status, Length : 0 18\n"
            "value : Soarix.FlightPlan \n"
            "Status : 0\n");
  EXPECT_EQ(read_reg(".air", "", -1).status, 2);
  EXPECT_EQ(read_reg(".air", "", -1).trace, " Subkey,name : .air  \n");
}

TEST(RdUsrReg, NamesCompareWithoutCaseAndKeysExistThroughTheirChildren) {
  TempPrefix prefix;
  prefix.user_reg(kSoarix3Key + "[Software\\\\Other] 1\n@=\"default\"\n");
  EXPECT_EQ(read_reg("software\\SOARIX3", "installdir").value, "C:\\Sim3");
  EXPECT_EQ(read_reg("Software\\Other\\", "").value, "default");
  // "Software" has no section of its own but exists as a parent: opened, then no value.
  Read r = read_reg("Software\\", "InstallDir");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.trace.find("USER Open Status : 0\n"), std::string::npos);
  // A name that merely begins like a key is not that key.
  EXPECT_NE(read_reg("Software\\Soarix", "InstallDir").trace.find("USER Open Status : 2"),
            std::string::npos);
}

TEST(RdUsrReg, LengthLimitCountsTheNul) {
  TempPrefix prefix;
  const std::string v254(254, 'a');
  const std::string v300(300, 'b');
  prefix.user_reg(reg_key("Software\\Soarix3", {{"Fits", v254}, {"Long", v300}, {"Empty", ""}}));
  Read r = read_reg("Software\\Soarix3", "Fits");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.len, 255);
  EXPECT_EQ(r.value, v254);
  r = read_reg("Software\\Soarix3", "Long");
  EXPECT_EQ(r.status, 234);
  EXPECT_EQ(r.len, 0);
  EXPECT_EQ(r.value, "unchanged");
  EXPECT_NE(r.trace.find("Query Status, Length : 234 301\n"), std::string::npos);
  r = read_reg("Software\\Soarix3", "Empty");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.len, 1);
  EXPECT_EQ(r.value, "");
}

TEST(RdUsrReg, EscapesBecomeWindows1252Bytes) {
  TempPrefix prefix;
  prefix.user_reg(
      "[Software\\\\Esc] 1\n"
      "\"Accent\"=\"Ren\\xe9\"\n"
      "\"Euro\"=\"\\x20ac5\"\n"         // U+20AC then the digit 5: four hex digits at most
      "\"Short\"=\"\\xe9t\\xe9\"\n"     // one to four digits
      "\"Han\"=\"\\x4e2d\"\n"           // no Windows-1252 byte
      "\"Pair\"=\"\\xd83c\\xdf0e!\"\n"  // a surrogate pair: two code units
      "\"Ctl\"=\"a\\tb\\nc\\\\d\\\"e\"\n"
      "\"Nul\"=\"ab\\0cd\"\n"
      "\"Utf8\"=\"Ren\xC3\xA9\"\n"  // hand-edited: UTF-8 bytes
      "\"Name \\\"q\\\"\"=\"quoted name\"\n");
  EXPECT_EQ(read_reg("Software\\Esc", "Accent").value, "Ren\xE9");
  EXPECT_EQ(read_reg("Software\\Esc", "Euro").value,
            "\x80"
            "5");
  EXPECT_EQ(read_reg("Software\\Esc", "Short").value, "\xE9t\xE9");
  EXPECT_EQ(read_reg("Software\\Esc", "Han").value, "?");
  EXPECT_EQ(read_reg("Software\\Esc", "Pair").value,
            "??"
            "!");
  EXPECT_EQ(read_reg("Software\\Esc", "Ctl").value, "a\tb\nc\\d\"e");
  EXPECT_EQ(read_reg("Software\\Esc", "Utf8").value, "Ren\xE9");
  EXPECT_EQ(read_reg("Software\\Esc", "Name \"q\"").value, "quoted name");
  // An embedded NUL: the whole data is returned, "%s" shows the text before it.
  Read r = read_reg("Software\\Esc", "Nul");
  EXPECT_EQ(r.len, 6);
  EXPECT_EQ(r.value, std::string("ab\0cd", 5));
  EXPECT_NE(r.trace.find("value : ab \n"), std::string::npos);
  // Key names are escaped in the same way.
  prefix.user_reg("[Software\\\\Ren\\xe9] 1\n\"v\"=\"1\"\n");
  EXPECT_EQ(read_reg("Software\\Ren\xE9", "v").value, "1");
}

TEST(RdUsrReg, OnlyStringTypesAreReadable) {
  TempPrefix prefix;
  prefix.user_reg(
      "[Software\\\\Types] 1\n"
      "\"Expand\"=str(2):\"%USERPROFILE%\\\\Documents\"\n"
      "\"Multi\"=str(7):\"a\\0b\\0\"\n"
      "\"Dword\"=dword:00000001\n"
      "\"Bin\"=hex:30,00,02,80,\\\n"
      "  12,00,00,00\n"
      "\"HexSz\"=hex(2):25,00,00,00\n"
      "\"After\"=\"still read\"\n");
  EXPECT_EQ(read_reg("Software\\Types", "Expand").value, "%USERPROFILE%\\Documents");
  EXPECT_EQ(read_reg("Software\\Types", "Multi").len, 5);
  EXPECT_EQ(read_reg("Software\\Types", "Dword").status, 2);
  EXPECT_EQ(read_reg("Software\\Types", "Bin").status, 2);
  EXPECT_EQ(read_reg("Software\\Types", "HexSz").status, 2);
  EXPECT_EQ(read_reg("Software\\Types", "After").value, "still read");
}

// A damaged file is read as far as it makes sense; no line is trusted that does not parse.
TEST(RdUsrReg, DamagedFilesNeverCrashAndSkipTheBadLines) {
  TempPrefix prefix;
  // No user.reg at all.
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").status, 2);
  std::filesystem::create_directories(prefix.root());
  prefix.write_raw("user.reg", "");
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").status, 2);

  // Truncated in the middle of a value: the key is there, the value is not.
  prefix.write_raw("user.reg", std::string(fixtures::kRegHeader) +
                                   "[Software\\\\Soarix3] 1\n\"InstallDir\"=\"C:\\\\Pro");
  Read r = read_reg("Software\\Soarix3", "InstallDir");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.trace.find("USER Open Status : 0"), std::string::npos);

  // A key line without "]": its values belong to no key, not to the key before it.
  prefix.user_reg(reg_key("Software\\Soarix2", {{"InstallDir", "C:\\Sim2"}}) +
                  "[Software\\\\Soarix3 1\n\"InstallDir\"=\"C:\\\\Sim3\"\n");
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").status, 2);
  EXPECT_EQ(read_reg("Software\\Soarix2", "InstallDir").value, "C:\\Sim2");

  // A value without closing quote is skipped; the lines around it are read.
  prefix.user_reg(
      "[Software\\\\Soarix3] 1\n\"A\"=\"one\"\n\"InstallDir\"=\"C:\\\\Sim3\n\"B\"=\"two\"\n"
      "\"C\"=\"ends in a backslash\\\n\"D\"=nonsense\n\"E\"\n=\"x\"\n\x01\xFF garbage\n");
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").status, 2);
  EXPECT_EQ(read_reg("Software\\Soarix3", "A").value, "one");
  EXPECT_EQ(read_reg("Software\\Soarix3", "B").value, "two");
  EXPECT_EQ(read_reg("Software\\Soarix3", "C").status, 2);
  EXPECT_EQ(read_reg("Software\\Soarix3", "D").status, 2);

  // CRLF line ends, as a file copied through Windows may have.
  prefix.write_raw("user.reg",
                   "WINE REGISTRY Version 2\r\n\r\n[Software\\\\Soarix3] 1\r\n"
                   "\"InstallDir\"=\"C:\\\\Sim3\"\r\n");
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").value, "C:\\Sim3");
}

// A line ends at LF, CR LF, a run of CRs before LF or a lone CR, as in every text file the
// program reads; a UTF-8 byte-order mark at the start is dropped.
TEST(RdUsrReg, LineEndsOfEveryKindAndAByteOrderMark) {
  TempPrefix prefix;
  // A binary value goes on on the next line, which is never a value of its own.
  const std::string body =
      "[Software\\\\Soarix3] 1\n\"Bin\"=hex:01,\\\n\"Trap\"=\"x\"\n\"First\"=\"one\"\n\n" +
      kSoarix3Key + "\"After\"=\"still read\"\n";
  for (const std::string_view end : {"\n", "\r\n", "\r\r\n", "\r"}) {
    for (const std::string_view start : {"", "\xEF\xBB\xBF"}) {
      SCOPED_TRACE(::testing::PrintToString(end) + " " + std::to_string(start.size()));
      std::string text(start);
      for (const char c : body)
        text += c == '\n' ? std::string(end) : std::string(1, c);
      prefix.write_raw("user.reg", text);
      EXPECT_EQ(read_reg("Software\\Soarix3", "First").value, "one");
      EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").value, "C:\\Sim3");
      EXPECT_EQ(read_reg("Software\\Soarix3", "After").value, "still read");
      EXPECT_EQ(read_reg("Software\\Soarix3", "Trap").status, 2);
    }
  }
}

// Only the start of a long line is kept: a text running past it is too long, a binary value
// cut there still goes on on its next line, and the lines after are read as usual.
TEST(RdUsrReg, LinesBeyondWhatIsKeptAreTooLongNotLost) {
  TempPrefix prefix;
  const std::string huge(300 * 1024, 'x');
  prefix.user_reg("[Software\\\\Soarix3] 1\n\"InstallDir\"=\"C:\\\\" + huge +
                  "\"\n\"Bin\"=hex:" + huge + ",\\\n  \"A\"=\"trap\"\n\"B\"=str(2):\"after\"\n" +
                  "[Volatile Environment] 1\n\"BREVANTO_T3\"=\"" + huge + "\"\n" +
                  "[Environment] 1\n\"BREVANTO_T3\"=\"short\"\n");
  Read r = read_reg("Software\\Soarix3", "InstallDir");
  EXPECT_EQ(r.status, 234);
  EXPECT_EQ(r.value, "unchanged");
  EXPECT_EQ(read_reg("Software\\Soarix3", "A").status, 2);
  EXPECT_EQ(read_reg("Software\\Soarix3", "B").value, "after");
  ScopedEnv t3("BREVANTO_T3", std::nullopt);
  std::string value = "unchanged";
  EXPECT_EQ(MyGetEnv("BREVANTO_T3", value, 511), 0);
  EXPECT_EQ(value, "unchanged");
}

TEST(RdUsrReg, TheFileIsReadAgainAtEveryCall) {
  TempPrefix prefix;
  prefix.user_reg(kSoarix3Key);
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").value, "C:\\Sim3");
  prefix.user_reg(reg_key("Software\\Soarix3", {{"InstallDir", "D:\\Other"}}));
  EXPECT_EQ(read_reg("Software\\Soarix3", "InstallDir").value, "D:\\Other");
}

TEST(MyGetEnv, ProcessEnvironmentFirstThenTheUsersHive) {
  TempPrefix prefix;
  prefix.user_reg(reg_key("Environment", {{"BREVANTO_T1", "env"}, {"BREVANTO_T2", "env"}}) +
                  reg_key("Volatile Environment", {{"brevanto_t2", "volatile"}}));
  ScopedEnv t2("BREVANTO_T2", std::nullopt);
  std::string value = "unchanged";
  {
    ScopedEnv t1("BREVANTO_T1", "Ren\xC3\xA9");  // the process environment is UTF-8
    EXPECT_EQ(MyGetEnv("BREVANTO_T1", value, 511), 4);
    EXPECT_EQ(value, "Ren\xE9");
  }
  EXPECT_EQ(MyGetEnv("BREVANTO_T2", value, 511), 8);  // names compare without case there
  EXPECT_EQ(value, "volatile");
  ScopedEnv t1("BREVANTO_T1", std::nullopt);
  EXPECT_EQ(MyGetEnv("BREVANTO_T1", value, 511), 3);
  EXPECT_EQ(value, "env");
}

TEST(MyGetEnv, UndefinedEmptyOrTooLongGivesZeroAndLeavesTheValue) {
  TempPrefix prefix;  // no user.reg
  std::string value = "unchanged";
  const auto get = [&](std::optional<std::string> set_to) {
    ScopedEnv t("BREVANTO_T1", std::move(set_to));
    return MyGetEnv("BREVANTO_T1", value, 511);
  };
  EXPECT_EQ(get(std::nullopt), 0);
  EXPECT_EQ(MyGetEnv("USERPROFILE", value, 511), 0);
  EXPECT_EQ(get(""), 0);
  EXPECT_EQ(get(std::string(511, 'x')), 0);  // needs 512 bytes with its NUL
  EXPECT_EQ(value, "unchanged");
  EXPECT_EQ(get(std::string(510, 'x')), 510);
  EXPECT_EQ(MyGetEnv("", value, 511), 0);
}

}  // namespace
}  // namespace brevanto
