// Plan patterns on Windows, where the shell leaves "*" and "?" to the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "temp_dir.hpp"

namespace {

using brevanto::testing::ScopedCurrentPath;
using brevanto::testing::TempDir;
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

  // A pattern without folder is one of the current folder, and stays without.
  ScopedCurrentPath here(dir.path());
  EXPECT_EQ(platform::expand_wildcards("*.t?t"), Names{"notes.txt"});
}

}  // namespace
