// Whole files written through a temporary file, and whether two paths name one file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform.hpp"
#include "temp_dir.hpp"

namespace brevanto {
namespace {

namespace fs = std::filesystem;
using fixtures::TempDir;

// The names in the folder: a failed or finished write leaves no temporary file.
std::vector<std::string> names(const TempDir& dir) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    found.push_back(entry.path().filename().string());
  std::sort(found.begin(), found.end());
  return found;
}

TEST(WholeFile, CreatesOrReplacesWithExactlyTheBytes) {
  TempDir dir;
  const std::string path = dir.str("out.csv");
  constexpr char kBytes[] = "\xEF\xBB\xBFplan,line\r\na,\"1\"\r\n\0end";
  const std::string bytes(kBytes, sizeof kBytes - 1);
  ASSERT_EQ(platform::write_whole_file(path, bytes), 0);
  EXPECT_EQ(dir.read("out.csv"), bytes);
  dir.write("out.csv", std::string(100000, 'x'));  // a longer file is replaced, not overwritten
  ASSERT_EQ(platform::write_whole_file(path, "short\n"), 0);
  EXPECT_EQ(dir.read("out.csv"), "short\n");
  EXPECT_EQ(names(dir), std::vector<std::string>{"out.csv"});
}

TEST(WholeFile, AFailureLeavesTheTargetAsItWasAndNoTemporaryFile) {
  TempDir dir;
  fs::create_directory(dir.path() / "folder");
  dir.write("folder/inside.txt", "kept");
  const std::string cases[] = {dir.str("missing/out.csv"), dir.str("folder"), "",
                               std::string("out\0.csv", 8)};
  for (const std::string& path : cases) {
    EXPECT_NE(platform::write_whole_file(path, "new"), 0) << path;
  }
  EXPECT_EQ(dir.read("folder/inside.txt"), "kept");
  EXPECT_EQ(names(dir), std::vector<std::string>{"folder"});
}

TEST(WholeFile, SameFileThroughOtherSpellings) {
  TempDir dir;
  const std::string log = dir.write("Brevanto.log", "log");
  dir.write("plan.fpl", "plan");
  fs::create_directory(dir.path() / "sub");
  EXPECT_TRUE(platform::same_file(log, dir.str("sub/../Brevanto.log")));
  std::error_code ec;
  fs::create_symlink(log, dir.path() / "link.log", ec);
  if (!ec) {
    EXPECT_TRUE(platform::same_file(dir.str("link.log"), log));
  }
  EXPECT_FALSE(platform::same_file(log, dir.str("plan.fpl")));
  EXPECT_FALSE(platform::same_file(dir.str("missing.csv"), dir.str("missing.csv")));
}

}  // namespace
}  // namespace brevanto
