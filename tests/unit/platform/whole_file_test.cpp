// Files written as they are made, through a temporary file that takes the name only when whole;
// scratch files; and whether two paths name one file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

TEST(WholeFile, TakesTheNameOnlyWhenWholeWithExactlyTheBytes) {
  TempDir dir;
  const std::string path = dir.write("out.csv", std::string(100000, 'x'));
  platform::WholeFile file;
  ASSERT_EQ(file.open(path), 0);
  constexpr char kBytes[] = "\xEF\xBB\xBFplan,line\r\na,\"1\"\r\n\0end";
  const std::string bytes(kBytes, sizeof kBytes - 1);
  for (std::size_t at = 0; at < bytes.size(); at += 7)
    ASSERT_EQ(file.write(std::string_view(bytes).substr(at, 7)), 0);
  EXPECT_EQ(dir.read("out.csv"), std::string(100000, 'x'));  // the old file until the end
  EXPECT_EQ(names(dir).size(), 2u);
  ASSERT_EQ(file.commit(), 0);
  EXPECT_EQ(dir.read("out.csv"), bytes);
  EXPECT_EQ(names(dir), std::vector<std::string>{"out.csv"});

  // A name as long as a folder takes: the temporary file's own name is short.
  const std::string long_name(250, 'n');
  platform::WholeFile longer;
  ASSERT_EQ(longer.open(dir.str(long_name)), 0);
  ASSERT_EQ(longer.write("long"), 0);
  ASSERT_EQ(longer.commit(), 0);
  EXPECT_EQ(dir.read(long_name), "long");
}

TEST(WholeFile, WhatIsNoRegularFileIsNeverReplaced) {
  TempDir dir;
  fs::create_directory(dir.path() / "folder");
  dir.write("folder/inside.txt", "kept");
  std::vector<std::string> refused = {dir.str("missing/out.csv"), dir.str("folder"), "",
                                      std::string("out\0.csv", 8)};
  if (platform::slash_is_separator()) {
    refused.push_back(dir.str("fifo"));
    ASSERT_EQ(std::system(("mkfifo '" + refused.back() + "'").c_str()), 0);
  } else {
    refused.emplace_back("NUL");
  }
  for (const std::string& path : refused) {
    platform::WholeFile file;
    EXPECT_NE(file.open(path), 0) << path;
  }
  EXPECT_EQ(dir.read("folder/inside.txt"), "kept");
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
  if (platform::slash_is_separator()) {
    EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
  }

  // A file that becomes a folder while the output is made is not replaced either.
  platform::WholeFile late;
  ASSERT_EQ(late.open(dir.str("late")), 0);
  fs::create_directory(dir.path() / "late");
  EXPECT_NE(late.commit(), 0);
  EXPECT_TRUE(fs::is_directory(dir.path() / "late"));
  const std::vector<std::string> left = names(dir);
  EXPECT_EQ(std::count_if(left.begin(), left.end(),
                          [](const std::string& n) { return n.find(".tmp") != std::string::npos; }),
            0);
}

TEST(WholeFile, AReplacedFileKeepsItsPermissionBits) {
  if (!platform::slash_is_separator()) GTEST_SKIP() << "POSIX permission bits";
  TempDir dir;
  const std::string path = dir.write("private.csv", "old");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  platform::WholeFile file;
  ASSERT_EQ(file.open(path), 0);
  ASSERT_EQ(file.write("new"), 0);
  ASSERT_EQ(file.commit(), 0);
  EXPECT_EQ(dir.read("private.csv"), "new");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST(WholeFile, DiscardedOrAbandonedLeavesTheTargetAndNoTemporaryFile) {
  TempDir dir;
  const std::string path = dir.write("out.html", "old");
  {
    platform::WholeFile file;
    ASSERT_EQ(file.open(path), 0);
    ASSERT_EQ(file.write("half"), 0);
    file.discard();
    EXPECT_NE(file.commit(), 0);  // nothing left to commit
    platform::WholeFile abandoned;
    ASSERT_EQ(abandoned.open(path), 0);
    ASSERT_EQ(abandoned.write("half"), 0);
  }
  EXPECT_EQ(dir.read("out.html"), "old");
  EXPECT_EQ(names(dir), std::vector<std::string>{"out.html"});
}

TEST(ScratchFile, GivesBackWhatWasWrittenAndLeavesNoName) {
  TempDir dir;
  const std::string path = dir.str("page.html");
  platform::WholeFile page;
  ASSERT_EQ(page.open(path), 0);
  {
    platform::ScratchFile scratch;
    ASSERT_EQ(scratch.open(path), 0);
    const std::string block(70000, 's');  // more than one block of the copy
    ASSERT_EQ(scratch.write(block), 0);
    ASSERT_EQ(scratch.write("end"), 0);
    ASSERT_EQ(page.write("head:"), 0);
    ASSERT_EQ(scratch.copy_to(page), 0);
  }
  ASSERT_EQ(page.commit(), 0);
  EXPECT_EQ(dir.read("page.html"), "head:" + std::string(70000, 's') + "end");
  EXPECT_EQ(names(dir), std::vector<std::string>{"page.html"});
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
