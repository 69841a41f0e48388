#include "GetFilename.hpp"

#include <gtest/gtest.h>

#include "scoped_env.hpp"
#include "zenity_stub.hpp"

namespace brevanto {
namespace {

using Patterns = std::vector<std::string>;

TEST(SplitFilter, CommasSeparatePatternsLeftToRight) {
  EXPECT_EQ(split_filter("*.fpl"), Patterns{"*.fpl"});
  EXPECT_EQ(split_filter("*.fpl,*.txt"), (Patterns{"*.fpl", "*.txt"}));
  EXPECT_EQ(split_filter("*.fpl,"), Patterns{"*.fpl"});  // the empty rest ends the split
  EXPECT_EQ(split_filter(""), Patterns{});
  // A comma in first place of the rest makes the whole rest the last pattern.
  EXPECT_EQ(split_filter(",*.fpl"), Patterns{",*.fpl"});
  EXPECT_EQ(split_filter("*.fpl,,*.txt,*.dat"), (Patterns{"*.fpl", ",*.txt,*.dat"}));
}

TEST(SplitFilter, AtMostTenPatternsOfThirtyOneCharacters) {
  EXPECT_EQ(split_filter("a,b,c,d,e,f,g,h,i,j,k,l"),
            (Patterns{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}));
  const std::string forty = "*." + std::string(38, 'x');
  EXPECT_EQ(split_filter(forty + ",*.fpl"), (Patterns{forty.substr(0, 31), "*.fpl"}));
}

TEST(SplitFilter, FilterIsCutAtSixtyThreeCharacters) {
  // 12 patterns of 6 characters: the 63rd character falls inside the 11th pattern.
  std::string filter;
  for (char c = 'a'; c < 'a' + 12; ++c)
    filter += std::string("*.") + c + c + c + ',';
  const Patterns patterns = split_filter(filter);
  ASSERT_EQ(patterns.size(), 10u);
  EXPECT_EQ(patterns.back(), "*.jjj");
  // A single long pattern: cut at 63, then at 31.
  EXPECT_EQ(split_filter(std::string(70, 'p')), Patterns{std::string(31, 'p')});
  EXPECT_EQ(split_filter(std::string(62, 'x') + ",*.fpl"), Patterns{std::string(31, 'x')});
}

// The traces come before the dialog, whatever it answers (here: no display, so cancelled).
TEST(FileDialogTraces, FilterAsUsedThenPath) {
  fixtures::ScopedEnv display("DISPLAY", std::nullopt);
  fixtures::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
  std::string out;
  Console con(out);
  EXPECT_EQ(GetFileName(con, "t", "/tmp/plans/", std::string(70, 'f'), "", true), std::nullopt);
  EXPECT_EQ(SaveFileName(con, "Save", "", "*.log", ""), std::nullopt);
  EXPECT_EQ(out, "GetFileName " + std::string(63, 'f') +
                     " 63\nGetFileName /tmp/plans/ 11\nSaveFileName *.log 5\nSaveFileName  0\n");
}

// On a desktop, with a stand-in zenity that records what the dialogs were given.
using fixtures::ZenityStub;
using Args = std::vector<std::string>;

TEST(GetFileNameDialog, PatternsReachTheDialogAndTheChoiceComesBackWhole) {
  ZenityStub zenity;
  std::string choice;
  for (int i = 0; i < 200; ++i)
    choice += (i ? "|" : "") + ("/home/p/plans/task " + std::to_string(i) + ".fpl");
  ASSERT_GT(choice.size(), 4000u);
  zenity.answer_all(choice + "\n", 0);
  std::string out;
  Console con(out);
  const std::string forty = "*." + std::string(38, 'x');
  EXPECT_EQ(GetFileName(con, "Brevanto : Select flight plan(s)", "/home/p/plans/", "*.fpl," + forty,
                        "Flight plans (*.fpl)", true),
            choice);
  // The description names the patterns; every file is the second choice.
  EXPECT_EQ(zenity.only_call(),
            (Args{"--file-selection", "--title=Brevanto : Select flight plan(s)",
                  "--filename=/home/p/plans/", "--multiple", "--separator=|",
                  "--file-filter=Flight plans (*.fpl) | *.fpl " + forty.substr(0, 31),
                  "--file-filter=All files (*.*) | *"}));
}

TEST(GetFileNameDialog, TwelvePatternsGiveTen) {
  ZenityStub zenity;
  zenity.answer_all("/tmp/a\n", 0);
  std::string out;
  Console con(out);
  GetFileName(con, "T", "", "*.a,*.b,*.c,*.d,*.e,*.f,*.g,*.h,*.i,*.j,*.k,*.l", "", false);
  EXPECT_EQ(zenity.only_call(), (Args{"--file-selection", "--title=T",
                                      "--file-filter=*.a *.b *.c *.d *.e *.f *.g *.h *.i *.j",
                                      "--file-filter=All files (*.*) | *"}));
}

TEST(GetFileNameDialog, CancelShowsTheErrorBoxInTheUsersLanguage) {
  for (const bool french : {false, true}) {
    ZenityStub zenity;
    fixtures::ScopedEnv language("LC_ALL", french ? "fr_FR.UTF-8" : "C");
    zenity.answer(1, "", 1);  // the file dialog, cancelled
    std::string out;
    Console con(out);
    EXPECT_EQ(GetFileName(con, "T", "", "*.fpl", "", false), std::nullopt);
    const auto calls = zenity.calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], (Args{"--error", "--title=Error",
                              french ? "--text=Aucun fichier sp\xC3\xA9"
                                       "cifi\xC3\xA9"
                                     : "--text=No file specification returned",
                              "--no-markup"}));
  }
}

TEST(GetFolderDialog, ChoiceAndCancel) {
  ZenityStub zenity;
  zenity.answer(1, "/home/p/.wine/drive_c/users/p/Documents/Soarix 3\n", 0);
  zenity.answer(2, "", 1);
  std::string out;
  Console con(out);
  EXPECT_EQ(GetFolder(con, "Pilot folder /home/p", "/home/p/"),
            "/home/p/.wine/drive_c/users/p/Documents/Soarix 3");
  fixtures::ScopedEnv language("LC_ALL", "fr_FR");  // the folder box speaks English only
  EXPECT_EQ(GetFolder(con, "Pilot folder", "/home/p/"), std::nullopt);
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], (Args{"--file-selection", "--directory", "--title=Pilot folder /home/p",
                            "--filename=/home/p/"}));
  EXPECT_EQ(calls[2],
            (Args{"--error", "--title=Error", "--text=No folder selected", "--no-markup"}));
  EXPECT_EQ(out, "");  // no traces for folders
}

TEST(GetStringDialog, TypedTextAndCancel) {
  ZenityStub zenity;
  zenity.answer(1, "Andr\xC3\xA9\n", 0);
  zenity.answer(2, "", 1);
  std::string out;
  Console con(out);
  EXPECT_EQ(GetString(con, "Name", "Pilot?", ""), "Andr\xE9");
  EXPECT_EQ(GetString(con, "Name", "Pilot?", ""), std::nullopt);
  EXPECT_EQ(zenity.calls().size(), 2u);  // cancelling an input box is no error: no box
}

}  // namespace
}  // namespace brevanto
