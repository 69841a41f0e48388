#include "entry.hpp"

#include <algorithm>

#include "Brevanto_vers.hpp"
#include "HideConsole.hpp"
#include "IsLanguageFrench.hpp"
#include "fixed_text.hpp"
#include "get_inst_path.hpp"
#include "platform.hpp"
#include "stop.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kArgLen = 200;  // an argument as the options see it

std::string usage_line(const RunSettings& settings) {
  const std::string program = settings.args.empty() ? std::string() : settings.args[0];
  return platform::path_for_display(trim_right(program)) + " " + std::string(hlpstr);
}

// The usage lines: the program's name and the first options, then the others under them.
void write_usage(Console& con, const RunSettings& settings) {
  const std::string usage = " " + usage_line(settings);
  con.line(usage);
  const std::string indent(usage.size() - hlpstr.size(), ' ');
  for (const std::string_view more : hlpstr_more)
    con.line(indent + std::string(more));
}

// What each option does, one line each, in the order of the usage lines.
struct OptionHelp {
  std::string_view option, english, french;
};
constexpr OptionHelp kOptionHelp[] = {
    {"-v...", "verbose: more diagnostic lines on the console",
     "verbeux : plus de lignes de diagnostic sur la console"},
    {"-help...", "show this help and stop", "affiche cette aide et s'arr\xEAte"},
    {"-nopopup", "no result popups (fatal errors still show theirs)",
     "pas de fen\xEAtre de r\xE9sultat (les erreurs fatales gardent la leur)"},
    {"-en, -fr", "messages in English, in French (the later one wins)",
     "messages en anglais, en fran\xE7"
     "ais (le dernier l'emporte)"},
    {"-oklines", "also report every rule a line satisfies",
     "signale aussi chaque r\xE8gle qu'une ligne respecte"},
    {"-ask", "choose the rules file in a dialog, which opens at the rules file",
     "choisit le fichier de r\xE8gles dans une bo\xEEte de dialogue, ouverte sur lui"},
    {"-keep...", "keep the console window open", "garde la fen\xEAtre de la console ouverte"},
    {"-q", "quiet console: the report, warnings and errors only",
     "console silencieuse : le rapport, les avertissements et les erreurs seuls"},
    {"-rules=FILE", "check against the rules file FILE, not DEFAULT_CHECK.fpl beside the program",
     "v\xE9rifie avec le fichier de r\xE8gles FILE, non DEFAULT_CHECK.fpl \xE0 c\xF4t\xE9 du "
     "programme"},
    {"-unused", "after the last plan, list the rules that matched no line",
     "apr\xE8s le dernier plan, liste les r\xE8gles qui n'ont concern\xE9 aucune ligne"},
    {"-missing", "report for each plan every rule whose key it lacks",
     "signale pour chaque plan chaque r\xE8gle dont il n'a pas la cl\xE9"},
    {"-keepgoing", "go on after a plan that cannot be read (exit status 1)",
     "continue apr\xE8s un plan illisible (code de sortie 1)"},
    {"-csv=FILE", "also write the findings to FILE, as CSV",
     "\xE9"
     "crit aussi les constats dans FILE, en CSV"},
    {"-csv-sep=;", "separate the fields of the CSV with \";\" (default \",\")",
     "s\xE9pare les champs du CSV par \";\" (par d\xE9"
     "faut \",\")"},
    {"-html=FILE", "also write FILE, a web page with the findings and a map of each task",
     "\xE9"
     "crit aussi FILE, une page web avec les constats et la carte de chaque t\xE2"
     "che"},
    {"file(s)", "the flight plans to check; without any, they are chosen in a dialog",
     "les plans de vol \xE0 v\xE9rifier ; sans eux, ils sont choisis dans une bo\xEEte de "
     "dialogue"},
};

// "-help": the usage lines, then what each option does.
void write_help(Console& con, const RunSettings& settings) {
  con.line(" Usage :");
  write_usage(con, settings);
  constexpr std::size_t kColumn = 14;
  for (const OptionHelp& help : kOptionHelp) {
    std::string line = "   " + std::string(help.option);
    line.resize(3 + kColumn, ' ');
    line += in_language(settings.language, help.english, help.french);
    con.line(line);
  }
}

// The file of an option "<name>FILE" (such as "-csv=report.csv"); empty when the argument is not
// that option or names no file. The name is taken whole, never cut.
std::string option_file(std::string_view arg, std::string_view name) {
  if (!arg.starts_with(name)) return {};
  return std::string(trim_right(arg.substr(name.size())));
}

// A program started by a bare name from a console keeps its window.
bool started_by_bare_name(std::string_view program) {
  const std::string_view separators = platform::slash_is_separator() ? ":\\/" : ":\\";
  return program.find_first_of(separators) == std::string_view::npos;
}

}  // namespace

void parse_command_line(Console& con, RunSettings& s) {
  for (std::size_t i = 1; i < s.args.size(); ++i) {
    const std::string option = fit(s.args[i], kArgLen);
    if (option.starts_with("-v")) {
      s.qverb = true;
    } else if (option == "-en" || option == "-EN") {
      s.language = Language::english;
    } else if (option == "-fr" || option == "-FR") {
      s.language = Language::french;
    } else if (option == "-ask") {
      s.qask = true;
    } else if (option == "-keepgoing") {  // before "-keep", which takes any "-keep..." else
      s.qkeepgoing = true;
    } else if (option.starts_with("-keep")) {
      s.qkeepwnd = true;
    } else if (option == "-nopopup") {
      s.npopup = 0;
    } else if (option == "-oklines") {
      s.qoklines = true;
    } else if (option == "-unused") {
      s.qunused = true;
    } else if (option == "-missing") {
      s.qmissing = true;
    } else if (const std::string csv = option_file(s.args[i], "-csv="); !csv.empty()) {
      s.csv_file = csv;
    } else if (option == "-csv-sep=," || option == "-csv-sep=;") {
      s.csv_separator = option.back();
    } else if (const std::string html = option_file(s.args[i], "-html="); !html.empty()) {
      s.html_file = html;
    } else if (option == "-q") {
      s.qquiet = true;
    } else if (const std::string rules = option_file(s.args[i], "-rules="); !rules.empty()) {
      s.rules_file = rules;
    } else if (option.starts_with("-help")) {
      write_help(con, s);
      throw ProgramStop{0};
    } else if (option.starts_with("-")) {
      con.line(" " + platform::path_for_display(option) + " : unrecognized option");
      write_usage(con, s);
      throw ProgramStop{1};
    } else {
      // Windows shells hand "*" and "?" of plan names to the program.
      for (std::string& plan : platform::expand_wildcards(s.args[i]))
        s.plans.push_back(std::move(plan));
    }
  }
}

void start_up(Journal& journal, RunSettings& s) {
  s.ui_language = IsLanguageFrench() == 1 ? Language::french : Language::english;
  s.language = s.ui_language;
  const std::string program = s.args.empty() ? std::string() : s.args[0];
  // The settings, and a "-q" of the command line, before the first line of the console: a quiet
  // console is quiet from its start.
  s = rd_ini(program, std::move(s));
  const auto option_q = [](const std::string& arg) { return fit(arg, kArgLen) == "-q"; };
  if (s.args.size() > 1 && std::any_of(s.args.begin() + 1, s.args.end(), option_q)) s.qquiet = true;
  journal.con.set_quiet(s.qquiet);
  log_command(journal, "CREATE Brevanto.log");
  vers_num(s.nvers);
  s.qkeepwnd = started_by_bare_name(program);
  journal.con.trace("Nvers ", s.nversini, s.nvers);
  parse_command_line(journal.con, s);
  // The organiser's rules file, the command line's before the settings'; a relative name is
  // taken from the current folder.
  s.deffil = s.rules_file.empty() ? get_inst_path() + "DEFAULT_CHECK.fpl" : s.rules_file;
  journal.con.trace("npopup,qverb,qoklines", s.npopup, s.qverb, s.qoklines);
  s.qkeepwnd = s.qkeepwnd || s.qverb;
  if (!s.qkeepwnd) HideConsole(journal.con);
}

void choose_rules_file(Console& con, RunSettings& s, const FileDialog& dialog) {
  if (!s.qask) return;
  con.trace(platform::path_for_display(trim_right(s.deffil)));
  const std::optional<std::string> chosen =
      dialog(con, "Brevanto : Select rules file", s.deffil, "*.fpl", "Rules files (*.fpl)", false);
  con.trace(chosen ? 1 : 0);
  if (chosen && !chosen->empty()) s.deffil = *chosen;
}

}  // namespace brevanto
