// The desktop back-end of the dialogs, run against a stand-in zenity.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "tinyfiledialogs.hpp"
#include "zenity_stub.hpp"

namespace brevanto {
namespace {

using fixtures::has;
using fixtures::ZenityStub;
using Args = std::vector<std::string>;

// The program's own severities are checked in DisplayMessage_test; these are the other pairs
// of words the library takes.
TEST(ZenityMessageBox, IconWordsOutsideTheProgramsPairs) {
  ZenityStub zenity;
  EXPECT_EQ(tinyfd_messageBox("T", "m", "ok", "question", 1), 1);
  tinyfd_messageBox("T", "m", "yesno", "error", 1);
  tinyfd_messageBox("T", "m", "yesno", "info", 1);
  EXPECT_EQ(tinyfd_messageBox("T", "m", "ok", "unknown", 1), 1);
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0], (Args{"--info", "--icon-name=dialog-question", "--title=T", "--text=m",
                            "--no-markup"}));
  EXPECT_EQ(calls[1][1], "--icon-name=dialog-error");
  EXPECT_EQ(calls[2][1], "--icon-name=dialog-information");
  EXPECT_EQ(calls[3][0], "--info");
}

// A box closed by its timeout, or a zenity that failed, is a cancel; an "ok" box answers 1.
TEST(ZenityMessageBox, TimeoutAndFailureAnswers) {
  struct Case {
    const char* type;
    std::string out;
    int status;
    int expected;
  };
  const Case cases[] = {
      {"yesnocancel", "", 5, 0}, {"yesnocancel", "No\n", 255, 0},
      {"yesno", "", 255, 0},     {"okcancel", "", 5, 0},
      {"ok", "", 1, 1},          {"ok", "", 255, 1},
  };
  for (const Case& c : cases) {
    ZenityStub zenity;
    zenity.answer_all(c.out, c.status);
    EXPECT_EQ(tinyfd_messageBox("T", "m", c.type, "question", 1), c.expected)
        << c.type << " status " << c.status << " output " << c.out;
  }
}

TEST(ZenityMessageBox, ButtonLabelsAndDefaultButton) {
  ZenityStub zenity;
  tinyfd_messageBox("T", "m", "okcancel", "warning", 1);
  tinyfd_messageBox("T", "m", "yesnocancel", "question", 1);
  tinyfd_messageBox("T", "m", "yesno", "question", 0);
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0], (Args{"--question", "--icon-name=dialog-warning", "--title=T", "--text=m",
                            "--no-markup", "--ok-label=OK", "--cancel-label=Cancel"}));
  EXPECT_EQ(calls[1], (Args{"--question", "--title=T", "--text=m", "--no-markup", "--ok-label=Yes",
                            "--cancel-label=Cancel", "--extra-button=No"}));
  EXPECT_TRUE(has(calls[2], "--default-cancel"));
  EXPECT_FALSE(has(calls[0], "--default-cancel"));
}

TEST(ZenityMessageBox, TextsArriveWholeAsSingleArgumentsAndNothingRuns) {
  ZenityStub zenity;
  const std::string mark = (zenity.dir() / "ran").string();
  const std::string text = "a \"q\" 'b' $(/usr/bin/touch " + mark + ") `/usr/bin/touch " + mark +
                           "` ; /usr/bin/touch " + mark + " & x < y $HOME -z\nline two";
  // Windows-1252 accents: "é" and "à", the euro sign, and the line break of the message.
  EXPECT_EQ(tinyfd_messageBox("Vol \xE0 voile \x80", (text + " caf\xE9").c_str(), "ok", "info", 1),
            1);
  const Args args = zenity.only_call();
  EXPECT_EQ(args, (Args{"--info", "--title=Vol \xC3\xA0 voile \xE2\x82\xAC",
                        "--text=" + text + " caf\xC3\xA9", "--no-markup"}));
  EXPECT_FALSE(std::filesystem::exists(mark));
}

TEST(ZenityMessageBox, TextsThatLookLikeOptionsStayTexts) {
  ZenityStub zenity;
  tinyfd_messageBox("--error", "--version", "ok", "info", 1);
  EXPECT_EQ(zenity.only_call(),
            (Args{"--info", "--title=--error", "--text=--version", "--no-markup"}));
}

TEST(ZenityBackEnd, DesktopWithoutZenityFallsBackToTheConsole) {
  ZenityStub no_zenity(false);
  EXPECT_EQ(tinyfd_messageBox("T", "m", "yesno", "question", 1), 0);  // nobody said Yes
  EXPECT_EQ(tinyfd_openFileDialog("T", "/tmp/", 0, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(tinyfd_selectFolderDialog("T", "/tmp/"), nullptr);
}

TEST(ZenityBackEnd, WaylandAloneIsADesktop) {
  ZenityStub zenity;
  fixtures::ScopedEnv no_x("DISPLAY", std::nullopt);
  fixtures::ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
  tinyfd_messageBox("T", "m", "ok", "info", 1);
  EXPECT_EQ(zenity.calls().size(), 1u);
}

// zenity refuses accented arguments outside a UTF-8 locale: it runs in one.
TEST(ZenityBackEnd, ZenityRunsInAUtf8Locale) {
  struct Case {
    std::optional<std::string> lc_all, lang;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {"C", std::nullopt, "C.UTF-8"},
      {"POSIX", "C.UTF-8", "C.UTF-8"},                // LC_ALL wins over LANG
      {"xx_NOWHERE.UTF-8", std::nullopt, "C.UTF-8"},  // not installed: the C locale
      {std::nullopt, std::nullopt, "C.UTF-8"},
      {"C.UTF-8", std::nullopt, "C.UTF-8"},     // kept
      {std::nullopt, "C.UTF-8", std::nullopt},  // kept: LC_ALL stays unset
  };
  for (const Case& c : cases) {
    ZenityStub zenity;
    fixtures::ScopedEnv lc_all("LC_ALL", c.lc_all);
    fixtures::ScopedEnv lc_ctype("LC_CTYPE", std::nullopt);
    fixtures::ScopedEnv lang("LANG", c.lang);
    tinyfd_messageBox("T", "caf\xE9", "ok", "info", 1);
    EXPECT_EQ(zenity.lc_all(1), c.expected)
        << "LC_ALL " << c.lc_all.value_or("unset") << " LANG " << c.lang.value_or("unset");
  }
}

TEST(ZenityFileDialog, ArgumentsOfTheOpenDialog) {
  ZenityStub zenity;
  const char* const patterns[] = {"*.fpl", "*.txt"};
  zenity.answer_all("/home/p/a.fpl\n", 0);
  EXPECT_STREQ(tinyfd_openFileDialog("Choisir \xE9", "/home/p/plans/", 2, patterns, nullptr, 1),
               "/home/p/a.fpl");
  EXPECT_EQ(zenity.only_call(),
            (Args{"--file-selection", "--title=Choisir \xC3\xA9", "--filename=/home/p/plans/",
                  "--multiple", "--separator=|", "--file-filter=*.fpl *.txt",
                  "--file-filter=All files (*.*) | *"}));
}

TEST(ZenityFileDialog, DescriptionNamesTheFilterAndEmptyPartsAreLeftOut) {
  ZenityStub zenity;
  const char* const patterns[] = {"*.fpl"};
  tinyfd_openFileDialog("", "", 1, patterns, "Plans", 0);
  tinyfd_openFileDialog("T", nullptr, 0, nullptr, nullptr, 0);
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (Args{"--file-selection", "--file-filter=Plans | *.fpl",
                            "--file-filter=All files (*.*) | *"}));
  EXPECT_EQ(calls[1], (Args{"--file-selection", "--title=T"}));
}

TEST(ZenityFileDialog, ChosenPathsComeBackWholeAndUnchanged) {
  ZenityStub zenity;
  std::string many;
  for (int i = 0; i < 300; ++i) {
    if (i > 0) many += '|';
    many +=
        "/home/pilot/.wine/drive_c/Soarix/FlightPlans/plan number " + std::to_string(i) + ".fpl";
  }
  ASSERT_GT(many.size(), 5000u);
  zenity.answer(1, many + "\n", 0);
  // Bytes that are not UTF-8 are a native file name: they come back as they are.
  zenity.answer(2, "/tmp/\xE9t\xE9 \xC3\xA9.fpl\n", 0);
  EXPECT_EQ(std::string(tinyfd_openFileDialog("T", "", 0, nullptr, nullptr, 1)), many);
  EXPECT_STREQ(tinyfd_openFileDialog("T", "", 0, nullptr, nullptr, 0),
               "/tmp/\xE9t\xE9 \xC3\xA9.fpl");
}

TEST(ZenityFileDialog, FailureOrNoAnswerIsCancel) {
  const std::pair<std::string, int> answers[] = {{"", 1},   {"/tmp/a.fpl\n", 1},   {"", 0},
                                                 {"\n", 0}, {"/tmp/a.fpl\n", 255}, {"", 5}};
  for (const auto& [out, status] : answers) {
    ZenityStub zenity;
    zenity.answer_all(out, status);
    EXPECT_EQ(tinyfd_openFileDialog("T", "", 0, nullptr, nullptr, 0), nullptr)
        << "status " << status << " output " << out;
    EXPECT_EQ(tinyfd_saveFileDialog("T", "", 0, nullptr, nullptr), nullptr);
    EXPECT_EQ(tinyfd_selectFolderDialog("T", ""), nullptr);
    // An input box that prints just its line feed was answered with an empty text.
    if (out != "\n") {
      EXPECT_EQ(tinyfd_inputBox("T", "m", "x"), nullptr);
    }
  }
}

TEST(ZenityFileDialog, SaveAndFolderDialogs) {
  ZenityStub zenity;
  const char* const patterns[] = {"*.log"};
  zenity.answer(1, "/tmp/out.log\n", 0);
  zenity.answer(2, "/home/p/Soarix 3\n", 0);
  EXPECT_STREQ(tinyfd_saveFileDialog("Save", "/tmp/report.log", 1, patterns, nullptr),
               "/tmp/out.log");
  EXPECT_STREQ(tinyfd_selectFolderDialog("Pilot folder", "/home/p/"), "/home/p/Soarix 3");
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (Args{"--file-selection", "--save", "--confirm-overwrite", "--title=Save",
                            "--filename=/tmp/report.log", "--file-filter=*.log",
                            "--file-filter=All files (*.*) | *"}));
  EXPECT_EQ(calls[1], (Args{"--file-selection", "--directory", "--title=Pilot folder",
                            "--filename=/home/p/"}));
}

TEST(ZenityInputBox, TypedTextComesBackInTheProgramsEncoding) {
  ZenityStub zenity;
  zenity.answer(1, "Jos\xC3\xA9 $(x)\n", 0);
  zenity.answer(2, "\n", 0);  // OK on an empty entry
  zenity.answer(3, "secret\n", 0);
  EXPECT_STREQ(tinyfd_inputBox("Nom", "Votre nom ?", "Andr\xE9"), "Jos\xE9 $(x)");
  EXPECT_STREQ(tinyfd_inputBox("Nom", "Votre nom ?", ""), "");
  EXPECT_STREQ(tinyfd_inputBox("Mot de passe", "?", nullptr), "secret");
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0],
            (Args{"--entry", "--title=Nom", "--text=Votre nom ?", "--entry-text=Andr\xC3\xA9"}));
  EXPECT_TRUE(has(calls[2], "--hide-text"));
}

}  // namespace
}  // namespace brevanto
