#include "entry.hpp"

#include "Brevanto_vers.hpp"
#include "HideConsole.hpp"
#include "IsLanguageFrench.hpp"
#include "fixed_text.hpp"
#include "get_inst_path.hpp"
#include "platform/platform.hpp"
#include "stop.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kArgLen = 200;  // an argument as the options see it

std::string usage_line(const RunSettings& settings) {
  const std::string ligne = settings.args.empty() ? std::string() : settings.args[0];
  return std::string(trim_right(ligne)) + " " + std::string(hlpstr);
}

// A program started by a bare name from a console keeps its window.
bool started_by_bare_name(std::string_view ligne) {
  const std::string_view separators = platform::slash_is_separator() ? ":\\/" : ":\\";
  return ligne.find_first_of(separators) == std::string_view::npos;
}

// Windows shells hand "*" and "?" of plan names to the program: each such argument becomes the
// plans it matches. The invocation name and the options are no plan names.
std::vector<std::string> with_patterns_expanded(const std::vector<std::string>& args) {
  std::vector<std::string> expanded;
  expanded.reserve(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i == 0 || args[i].starts_with("-")) {
      expanded.push_back(args[i]);
      continue;
    }
    for (std::string& plan : platform::expand_wildcards(args[i]))
      expanded.push_back(std::move(plan));
  }
  return expanded;
}

}  // namespace

void parse_command_line(Console& con, RunSettings& s) {
  for (std::size_t i = 1; i < s.args.size(); ++i) {
    const std::string buff = fit(s.args[i], kArgLen);
    if (buff.starts_with("-v")) {
      s.qverb = true;
    } else if (buff == "-en" || buff == "-EN") {
      s.qfr = false;
    } else if (buff == "-fr" || buff == "-FR") {
      s.qfr = true;
    } else if (buff == "-ask") {
      s.qask = true;
    } else if (buff.starts_with("-keep")) {
      s.qkeepwnd = true;
    } else if (buff == "-nopopup") {
      s.npopup = 0;
    } else if (buff == "-oklines") {
      s.qoklines = true;
    } else if (buff.starts_with("-help")) {
      con.trace("Usage :");
      con.trace(usage_line(s));
      throw ProgramStop{0};
    } else if (buff.starts_with("-")) {
      con.trace(buff + " : unrecognized option");
      con.trace(usage_line(s));
      throw ProgramStop{1};
    } else {
      ++s.nfil;
    }
  }
}

void start_up(Journal& journal, RunSettings& s) {
  s.qfr = IsLanguageFrench() == 1;
  s.nlang = s.qfr ? 1 : 2;
  log_command(journal, "CREATE Brevanto.log");
  vers_num(s.nvers);
  const std::string ligne = s.args.empty() ? std::string() : s.args[0];
  s.qkeepwnd = started_by_bare_name(ligne);
  s = rd_ini(ligne, std::move(s));
  s.deffil = get_inst_path() + "DEFAULT_CHECK.fpl";
  journal.con.trace("Nvers ", s.nversini, s.nvers);
  s.args = with_patterns_expanded(s.args);
  parse_command_line(journal.con, s);
  journal.con.trace("npopup,qverb,qoklines", s.npopup, s.qverb, s.qoklines);
  s.qkeepwnd = s.qkeepwnd || s.qline || s.qverb;
  if (!s.qkeepwnd) HideConsole(journal.con);
}

}  // namespace brevanto
