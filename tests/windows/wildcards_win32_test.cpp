// Plan patterns on Windows, where the shell leaves "*" and "?" to the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform.hpp"
#include "temp_dir.hpp"

namespace {

using brevanto::fixtures::ScopedCurrentPath;
using brevanto::fixtures::TempDir;
using Names = std::vector<std::string>;

TEST(ExpandWildcards, FilesOfTheFolderInExplorerOrderOrThePatternItself) {
  TempDir dir;
  const std::string in = dir.str() + "\\";
  // Through the C library: its names are the program's Windows-1252 texts.
  for (const char* name : {"Day10.fpl", "day2.fpl", "Day1.FPL", "notes.txt", "x.fplx",
                           "notes.fpl.bak", "\xC9tape.fpl"}) {
    std::FILE* f = std::fopen((in + name).c_str(), "wb");
    ASSERT_NE(f, nullptr) << name;
    std::fclose(f);
  }
  std::filesystem::create_directory(dir.path() / "folder.fpl");  // folders are no plans
  const std::string slashed = dir.path().generic_string() + "/";
  struct Case {
    std::string argument;
    Names expected;
  };
  const Case cases[] = {
      {in + "*.fpl", {in + "Day1.FPL", in + "day2.fpl", in + "Day10.fpl", in + "\xC9tape.fpl"}},
      {in + "DAY?.fpl", {in + "Day1.FPL", in + "day2.fpl"}},
      {slashed + "*.txt", {slashed + "notes.txt"}},
      {in + "*.none", {in + "*.none"}},            // nothing matches: as typed
      {in + "*\\day2.fpl", {in + "*\\day2.fpl"}},  // a pattern in a folder's name
      {in + "day2.fpl", {in + "day2.fpl"}},
      {in + "missing.fpl", {in + "missing.fpl"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::expand_wildcards(c.argument), c.expected) << c.argument;

  // Names Windows-1252 cannot spell come whole, escaped; "?" stands for one of their letters, and
  // their letters match without regard to case too.
  std::filesystem::create_directory(dir.path() / "names");
  const std::string names = in + "names\\";
  for (const wchar_t* name : {L"\u0141\u00F3d\u017A.fpl", L"\u822A\u7DDA.fpl"}) {
    std::FILE* f = _wfopen((dir.path() / "names" / name).wstring().c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  // The escapes' byte 0x81 is written "\201", in octal, which stops before the digits that follow.
  const std::string lodz = names + "\2010141\363d\201017A.fpl";
  EXPECT_EQ(platform::expand_wildcards(names + "?\363d?.fpl"), Names{lodz});
  EXPECT_EQ(platform::expand_wildcards(names + "\2010142\323D*"), Names{lodz});
  EXPECT_EQ(platform::expand_wildcards(names + "??.FPL"), Names{names + "\201822A\2017DDA.fpl"});

  // A pattern without folder is one of the current folder, and stays without.
  ScopedCurrentPath here(dir.path());
  EXPECT_EQ(platform::expand_wildcards("*.t?t"), Names{"notes.txt"});
}

}  // namespace
