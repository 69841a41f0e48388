// Start-up: the command line and the executable's folder.
#include <gtest/gtest.h>

#include "entry.hpp"
#include "get_inst_path.hpp"
#include "platform.hpp"
#include "settings.hpp"
#include "stop.hpp"
#include "temp_dir.hpp"

namespace brevanto {
namespace {

RunSettings parse(std::vector<std::string> args, std::string* console = nullptr) {
  std::string out;
  Console con(console != nullptr ? *console : out);
  RunSettings s;
  s.args = std::move(args);
  parse_command_line(con, s);
  return s;
}

TEST(CommandLine, OptionsAndFilesInAnyOrder) {
  const RunSettings s =
      parse({"Brevanto", "a.fpl", "-verbose", "-fr", "b.fpl", "-en", "-keepalive", "-oklines"});
  EXPECT_TRUE(s.qverb);
  EXPECT_EQ(s.language, Language::english);  // the later of -fr and -en wins
  EXPECT_TRUE(s.qkeepwnd);
  EXPECT_TRUE(s.qoklines);
  EXPECT_EQ(s.plans, (std::vector<std::string>{"a.fpl", "b.fpl"}));
  EXPECT_EQ(parse({"Brevanto", "-FR"}).language, Language::french);
  EXPECT_EQ(parse({"Brevanto", "-nopopup"}).npopup, 0);
  EXPECT_TRUE(parse({"Brevanto", "-ask"}).qask);
  EXPECT_TRUE(parse({"Brevanto", "-missing"}).qmissing);
  // "-keepgoing" is an option of its own, though it begins as "-keep" does.
  const RunSettings going = parse({"Brevanto", "-keepgoing"});
  EXPECT_TRUE(going.qkeepgoing);
  EXPECT_FALSE(going.qkeepwnd);
}

TEST(CommandLine, OutputOptionsTakeTheirFileWhole) {
  const std::string long_name = std::string(250, 'r') + ".csv";  // past the 200 of an option
  const RunSettings s =
      parse({"Brevanto", "-unused", "a.fpl", "-csv=" + long_name, "-html=day 1/r\xE9sum\xE9.html"});
  EXPECT_TRUE(s.qunused);
  EXPECT_EQ(s.csv_file, long_name);
  EXPECT_EQ(s.html_file, "day 1/r\xE9sum\xE9.html");
  EXPECT_EQ(s.plans, std::vector<std::string>{"a.fpl"});
  EXPECT_EQ(s.csv_separator, ',');
  EXPECT_EQ(parse({"Brevanto", "-csv-sep=;"}).csv_separator, ';');
  EXPECT_EQ(parse({"Brevanto", "-csv-sep=;", "-csv-sep=,"}).csv_separator, ',');
}

TEST(CommandLine, QuietAndTheRulesFile) {
  const RunSettings s = parse({"Brevanto", "-q", "-rules=Day 2/club.fpl", "a.fpl"});
  EXPECT_TRUE(s.qquiet);
  EXPECT_EQ(s.rules_file, "Day 2/club.fpl");
  EXPECT_EQ(s.plans, std::vector<std::string>{"a.fpl"});
}

const std::string kUsage =
    " prog [-v] [-help] [-nopopup] [-en][-fr] [-oklines] file(s)\n"
    "      [-ask] [-keep] [-q] [-rules=FILE] [-unused] [-missing] [-keepgoing]\n"
    "      [-csv=FILE] [-csv-sep=;] [-html=FILE]\n";

TEST(CommandLine, HelpSaysWhatEachOptionDoesAndStops) {
  std::string out;
  try {
    Console quiet(out);  // the help is no diagnostic: a quiet console shows it too
    quiet.set_quiet(true);
    RunSettings s;
    s.args = {"prog", "a.fpl", "-q", "-helpme"};
    parse_command_line(quiet, s);
    FAIL() << "no stop";
  } catch (const ProgramStop& stop) {
    EXPECT_EQ(stop.status, 0);
  }
  EXPECT_EQ(out,
            " Usage :\n" + kUsage +
                "   -v...         verbose: more diagnostic lines on the console\n"
                "   -help...      show this help and stop\n"
                "   -nopopup      no result popups (fatal errors still show theirs)\n"
                "   -en, -fr      messages in English, in French (the later one wins)\n"
                "   -oklines      also report every rule a line satisfies\n"
                "   -ask          choose the rules file in a dialog, which opens at the rules "
                "file\n"
                "   -keep...      keep the console window open\n"
                "   -q            quiet console: the report, warnings and errors only\n"
                "   -rules=FILE   check against the rules file FILE, not DEFAULT_CHECK.fpl "
                "beside the program\n"
                "   -unused       after the last plan, list the rules that matched no line\n"
                "   -missing      report for each plan every rule whose key it lacks\n"
                "   -keepgoing    go on after a plan that cannot be read (exit status 1)\n"
                "   -csv=FILE     also write the findings to FILE, as CSV\n"
                "   -csv-sep=;    separate the fields of the CSV with \";\" (default \",\")\n"
                "   -html=FILE    also write FILE, a web page with the findings and a map of "
                "each task\n"
                "   file(s)       the flight plans to check; without any, they are chosen in a "
                "dialog\n");
  out.clear();
  try {
    parse({"prog", "-fr", "-help"}, &out);
  } catch (const ProgramStop&) {
  }
  EXPECT_NE(out.find("\n   -q            console silencieuse : le rapport, les avertissements et "
                     "les erreurs seuls\n"
                     "   -rules=FILE   v\xE9rifie avec le fichier de r\xE8gles FILE, non "
                     "DEFAULT_CHECK.fpl \xE0 c\xF4t\xE9 du programme\n"),
            std::string::npos)
      << out;
}

TEST(CommandLine, UnrecognisedOptionsStopWithStatusOne) {
  for (const char* bad :
       {"-english", "-nopopups", "-", "-x", "-asks", "-csv=", "-html", "-unused=1",
        "-rules=", "-quiet", "-csv-sep=", "-csv-sep=\t", "-csv-sep=;;"}) {
    std::string out;
    try {
      parse({"prog", "a.fpl", bad, "-help"}, &out);
      FAIL() << bad;
    } catch (const ProgramStop& stop) {
      EXPECT_EQ(stop.status, 1);
    }
    EXPECT_EQ(out, " " + std::string(bad) + " : unrecognized option\n" + kUsage);
  }
}

TEST(InstPath, FolderOfTheExecutable) {
  EXPECT_EQ(folder_of_executable("d:\\x\\prog.exe"), "D:\\x\\");
  EXPECT_EQ(folder_of_executable("C:\\Tools\\Brevanto.exe"), "C:\\Tools\\");
  EXPECT_EQ(folder_of_executable("prog"), ".\\");
  EXPECT_EQ(folder_of_executable(""), "");
  // "/" separates folders where the system says so (not on Windows).
  const bool slash = platform::slash_is_separator();
  EXPECT_EQ(folder_of_executable("/opt/brevanto/Brevanto"), slash ? "/opt/brevanto/" : ".\\");
  const std::string mine = get_inst_path();
  ASSERT_FALSE(mine.empty());
  EXPECT_EQ(mine.back(), slash ? '/' : '\\');
}

TEST(ChooseRulesFile, DialogOnlyWhenAsked) {
  std::string out;
  Console con(out);
  RunSettings s;
  s.deffil = "C:\\Tools\\DEFAULT_CHECK.fpl";
  int calls = 0;
  std::string answer = "D:\\Rules\\club.fpl";
  const FileDialog dialog = [&](Console&, std::string_view title, std::string_view path,
                                std::string_view filter, std::string_view desc,
                                bool multi) -> std::optional<std::string> {
    ++calls;
    EXPECT_EQ(title, "Brevanto : Select rules file");
    EXPECT_EQ(path, "C:\\Tools\\DEFAULT_CHECK.fpl");
    EXPECT_EQ(filter, "*.fpl");
    EXPECT_EQ(desc, "Rules files (*.fpl)");
    EXPECT_FALSE(multi);
    if (answer.empty()) return std::nullopt;
    return answer;
  };
  choose_rules_file(con, s, dialog);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(out, "");

  s.qask = true;
  answer.clear();  // cancelled: the default stays
  choose_rules_file(con, s, dialog);
  EXPECT_EQ(s.deffil, "C:\\Tools\\DEFAULT_CHECK.fpl");
  EXPECT_EQ(out, " C:\\Tools\\DEFAULT_CHECK.fpl\n 0\n");

  answer = "D:\\Rules\\club.fpl";
  choose_rules_file(con, s, dialog);
  EXPECT_EQ(s.deffil, "D:\\Rules\\club.fpl");
  EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace brevanto
