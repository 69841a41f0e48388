#include "entry.hpp"

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

// The usage line, then the organiser's options on a line of their own, under the first options.
void write_usage(Console& con, const RunSettings& settings) {
  const std::string usage = usage_line(settings);
  con.trace(usage);
  con.trace(std::string(usage.size() - hlpstr.size(), ' ') + std::string(hlpstr_outputs));
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
    } else if (option.starts_with("-help")) {
      con.trace("Usage :");
      write_usage(con, s);
      throw ProgramStop{0};
    } else if (option.starts_with("-")) {
      con.trace(platform::path_for_display(option) + " : unrecognized option");
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
  log_command(journal, "CREATE Brevanto.log");
  vers_num(s.nvers);
  const std::string program = s.args.empty() ? std::string() : s.args[0];
  s.qkeepwnd = started_by_bare_name(program);
  s = rd_ini(program, std::move(s));
  s.deffil = get_inst_path() + "DEFAULT_CHECK.fpl";
  journal.con.trace("Nvers ", s.nversini, s.nvers);
  parse_command_line(journal.con, s);
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
