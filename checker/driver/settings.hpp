// The run settings: set once at start-up from Brevanto.ini and the command line, then read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io.hpp"

namespace brevanto {

struct RunSettings : cmndta001 {  // the language comes with the message settings
  bool qverb = false;             // verbose console
  int npopup = 1;                 // popup mode: 0 none, 1 summary, 2 per plan, 3 with violations
  bool qoklines = false;          // report satisfied rules too
  bool qask = false;              // choose the rules file in a dialog
  float fltpntacy = 1.0e-6f;      // relative tolerance of real equality
  bool qkeepwnd = false;          // keep the console window visible
  int nvers = 0;                  // the program's version number
  int nversini = 0;               // "Version" of the settings file, only echoed
  std::string deffil = "DEFAULT_CHECK.fpl";  // the rules file
  std::vector<std::string> args;  // the command line, argument 0 (the invocation name) first
  // The flight plans of the command line: the names typed, and every name a pattern gave.
  std::vector<std::string> plans;
  // The user interface's language, which the see-file text follows whatever -en and -fr say.
  Language ui_language = Language::english;
  bool qunused = false;      // list the rules that matched no line of any plan
  bool qmissing = false;     // report the rules whose key no line of a plan holds
  bool qkeepgoing = false;   // a plan that cannot be read does not stop the run
  std::string csv_file;      // the findings as CSV; empty: none
  char csv_separator = ',';  // the CSV's field separator: "," or ";"
  std::string html_file;     // the HTML report with the task maps; empty: none
  bool qquiet = false;       // the console shows the report, warnings and errors only
  // The rules file named by the organiser (a relative name from the current folder); empty:
  // DEFAULT_CHECK.fpl beside the program.
  std::string rules_file;
};

inline constexpr std::string_view hlpstr = "[-v] [-help] [-nopopup] [-en][-fr] [-oklines] file(s)";
// The options added since, shown on usage lines of their own under the first.
inline constexpr std::string_view hlpstr_more[] = {
    "[-ask] [-keep] [-q] [-rules=FILE] [-unused] [-missing] [-keepgoing]",
    "[-csv=FILE] [-csv-sep=;] [-html=FILE]"};

// The settings file of a program file `argv0`: "Brevanto.ini" beside it, or in the current folder
// for a bare name.
std::string settings_file_name(std::string_view argv0);

// `s` with the keys of the settings file beside the program named by `argv0` ("Brevanto.ini" in
// the current folder for a bare name) applied: Version, Popup, verbose, ask, OKlines, FltPntAcy,
// Unused, Missing, KeepGoing, Quiet, Rules, CsvSeparator ("," or ";"; any other value leaves it
// as it was). A Rules line is taken whole, however long.
// A number that does not read ends the reading there and sets its key to 0 (Version, Popup) or
// to the default tolerance (FltPntAcy).
RunSettings rd_ini(std::string_view argv0, RunSettings s);

}  // namespace brevanto
