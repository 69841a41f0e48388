#include "run.hpp"

#include <optional>
#include <string_view>

#include "GetFilename.hpp"
#include "To_GUI.hpp"
#include "csv_report.hpp"
#include "entry.hpp"
#include "evaluation.hpp"
#include "findings.hpp"
#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "get_active_soarix_version.hpp"
#include "get_soarix_inst_dir.hpp"
#include "html_report.hpp"
#include "log_message.hpp"
#include "platform/platform.hpp"
#include "read_fpl.hpp"
#include "rule_usage.hpp"
#include "rules_file.hpp"
#include "settings.hpp"
#include "stop.hpp"
#include "text_file.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kDisplayLen = 62;  // longest plan name shown in a popup

// The records of one run, and the run itself from the choice of the rules file to the summary.
class CheckRun {
 public:
  CheckRun(Console& con, const std::vector<std::string>& args)
      : journal_(con, args.empty() ? std::string() : args[0]), io_{con, journal_, settings_} {
    settings_.args = args;
  }

  void run() {
    start_up(journal_, settings_);
    choose_rules_file(io_.con, settings_);
    if (check_soarix_install(io_, inst_, " ") == 0) {
      std::string msg(text("*** No Soarix installation found (2 or 3) ***",
                           "*** Aucune installation de Soarix (2 ou 3) trouv\xE9"
                           "e ***"));
      popup_error(msg);
      log(msg);
      throw ProgramStop{1};
    }
    get_active_soarix_version(io_, inst_);
    io_.con.trace(platform::path_for_display(settings_.deffil));
    const std::vector<std::string> plans = choose_plans();
    if (plans.empty()) {
      popup_error(text("*** No input file specified ***", "*** Aucun fichier \xE0 lire ***"));
      throw ProgramStop{1};
    }
    if (const std::optional<RulesFault> fault = read_rules_file(io_, settings_, table_)) {
      if (fault->kind == RulesFault::Kind::too_many) log(fault->message);
      popup_error(fault->message);
      throw ProgramStop{1};
    }
    if (settings_.qunused || !settings_.csv_file.empty() || !settings_.html_file.empty()) {
      record_.emplace(table_.check_num,
                      !settings_.csv_file.empty() || !settings_.html_file.empty());
    }
    try {
      for (const std::string& name : plans)
        check_plan_file(name);
    } catch (const ProgramStop&) {
      write_outputs();  // what was found up to the plan the run stopped on, which is unreadable
      throw;
    }
    if (settings_.qunused) report_unused_rules(journal_, table_, *record_, settings_.language);
    const bool written = write_outputs();
    summary();
    if (!written) throw ProgramStop{1};
  }

 private:
  void log(std::string_view line) { log_line(journal_, line); }

  // A message of the run in the language of its messages.
  std::string_view text(std::string_view english, std::string_view french) const {
    return in_language(settings_.language, english, french);
  }

  void popup(int severity, std::string msg) {
    error_message_tit(io_.con, severity, settings_.app_name, msg, settings_.qline);
  }
  void popup_error(std::string_view msg) { popup(s_error, std::string(msg)); }

  // The plans of the command line, or those chosen in the dialog, which opens in the active
  // version's flight-plan folder.
  std::vector<std::string> choose_plans() {
    if (!settings_.plans.empty()) return settings_.plans;
    const std::string folder = inst_.sorxrootpath + "FlightPlans\\";
    io_.con.trace(platform::path_for_display(folder));
    const std::optional<std::string> chosen = GetFileName(
        io_.con, "Brevanto : Select flight plan(s)", folder, "*.fpl", "Flight plans (*.fpl)", true);
    const std::string file_list = chosen.value_or("");
    io_.con.trace(platform::path_for_display(file_list), static_cast<int>(file_list.size()));
    std::vector<std::string> plans;
    if (file_list.empty()) return plans;
    // The whole result: cutting it would cut the last path, which could then name another plan.
    for (std::size_t from = 0;;) {
      const std::size_t bar = file_list.find('|', from);
      std::string infile = file_list.substr(from, bar == std::string::npos ? bar : bar - from);
      for (char& c : infile) {
        if (c == '\0') c = ' ';
      }
      plans.emplace_back(trim_right(infile));
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
    return plans;
  }

  // Opens a plan for reading; a plan that cannot be opened ends the run.
  void open_plan(TextFile& plan, const std::string& infile) {
    if (plan.open(infile)) return;
    std::string msg = escape_slashes(platform::path_for_display(infile));
    msg += text("/cannot be opened", "/Ouverture impossible");
    log(msg);
    popup_error(msg);
    throw ProgramStop{1};
  }

  void check_plan_file(std::string infile) {
    infile = std::string(trim_right(infile));
    // The extension starts at the first "." of the name. Where "/" separates folders, a native
    // path's folders are not part of the name: the default Wine prefix itself is "~/.wine".
    const std::size_t slash =
        platform::slash_is_separator() ? infile.rfind('/') : std::string::npos;
    const std::size_t dot = infile.find('.', slash == std::string::npos ? 0 : slash + 1);
    if (dot != std::string::npos) {
      const std::string_view extension = std::string_view(infile).substr(dot + 1);
      if (extension != "fpl" && extension != "FPL") {
        io_.con.line(std::string(52, '-'));
        io_.con.line("");
        io_.con.line(platform::path_for_display(infile) + " : not a Soarix flight plan, skipped");
        io_.con.line("");
        return;
      }
    }
    // What the log and the popups show; the name's length does not count an added ".fpl".
    std::string shown = platform::path_for_display(infile);
    std::size_t shown_length = shown.size();
    if (dot == std::string::npos) {
      infile += ".fpl";
      shown += ".fpl";
    }
    log_lines(journal_, {std::string(78, '-'), "", escape_slashes(shown), ""});
    if (record_) record_->begin_plan(infile, shown);

    TextFile plan;
    open_plan(plan, infile);
    float cloud_base = 0;
    if (table_.qbase) {
      const FplReadState state = read_fpl(io_.con, airspace_count_, fpl_, plan, settings_.qverb);
      if (state.too_many_turnpoints) {
        popup_error(too_many_turnpoints_message(settings_.language));
        throw ProgramStop{1};
      }
      io_.con.trace(state.nl, state.ios);
      cloud_base = get_cloud_base(io_.con, fpl_);
      plan.rewind();  // the check reads the plan again from its first line, most often from memory
    }
    if (settings_.qverb) io_.con.trace("Qfinish ", table_.qfinish);

    std::string short_name = shown;
    if (shown_length > kDisplayLen) {
      short_name = shown.substr(0, 10) + "..." + shown.substr(shown_length - 49, 49);
      shown_length = kDisplayLen;
    }
    const PlanCheckResult result =
        check_plan(io_, settings_, table_, carry_, plan, cloud_base, static_cast<int>(shown_length),
                   record_ ? &*record_ : nullptr);
    plan.close();
    if (result.end == ScanEnd::read_error) {
      std::string msg = "*** " + escape_slashes(shown);
      msg += text(" : error reading ***", " : erreur de lecture ***");
      popup_error(msg);
      io_.con.trace("*** at line_number :", result.nl, " ***");
      throw ProgramStop{1};
    }
    report(result, short_name, shown_length);
    if (record_) record_->end_plan(result.nl_nok);
    restore_finish_keys(io_.con, settings_.qverb, table_);
  }

  // The plan's result in the log, and in the popups of the popup mode.
  void report(const PlanCheckResult& result, const std::string& short_name,
              std::size_t shown_length) {
    std::string msg;
    if (result.nl_nok == 0) {
      last_severity_ = s_info;
      msg = text("No error found", "Pas d'erreur");
      log_lines(journal_, {msg, ""});
    } else {
      last_severity_ = s_error;
      msg = fmt_i(result.nl_nok, 2);
      msg += text(" invalid lines", " lignes incorrectes");
      log_lines(journal_, {"", msg, ""});
    }
    switch (settings_.npopup) {
      case 2:
      case 3: {
        if (settings_.npopup == 3 && result.nl_nok > 0) msg = fit(msg + result.msg00, kMsgLen);
        popup(last_severity_, escape_slashes(short_name + "\n" + msg));
        break;
      }
      case 1: {
        // The room is counted on the names as shown: their slashes are escaped at the end.
        const std::string_view see = seefile_text(settings_.ui_language);
        if (summary_.size() + shown_length + msg.size() + see.size() >= 500) {
          if (summary_.find(see) == std::string::npos) summary_ += "\n" + std::string(see);
        } else {
          summary_ = fit(summary_ + "\n" + short_name + "\n" + msg, kMsgLen);
        }
        break;
      }
      default:
        break;
    }
  }

  // The CSV export and the HTML report the command line asks for, each written whole or not at
  // all; false when one of them cannot be written, which the journal then says.
  bool write_outputs() {
    bool written = true;
    const std::string& csv = settings_.csv_file;
    if (!csv.empty()) written = write_output(csv, csv_report(*record_), "") && written;
    if (!settings_.html_file.empty()) {
      const platform::LocalTime now = platform::local_time();
      const HtmlReportHead head{settings_.language, platform::path_for_display(settings_.deffil),
                                table_.check_num, date_time_text(now)};
      written = write_output(settings_.html_file, html_report(*record_, head), csv) && written;
    }
    return written;
  }

  // Writes one output, unless it would replace a file the run reads or has written: the report
  // log, the rules file, a plan, or `other`, the output written before it.
  bool write_output(const std::string& path, const std::string& bytes, const std::string& other) {
    bool taken = platform::same_file(path, journal_.filnam) ||
                 platform::same_file(path, settings_.deffil) ||
                 (!other.empty() && platform::same_file(path, other));
    for (const PlanFindings& plan : record_->plans())
      taken = taken || platform::same_file(path, plan.path);
    if (!taken && platform::write_whole_file(path, bytes) == 0) return true;
    log("*** " + escape_slashes(platform::path_for_display(path)) +
        std::string(taken ? text(" : a file of this run, not replaced ***",
                                 " : un fichier de cette v\xE9rification, non remplac\xE9 ***")
                          : text(" : cannot be written ***",
                                 " : \xE9"
                                 "criture impossible ***")));
    return false;
  }

  void summary() {
    if (settings_.npopup != 1) return;
    io_.con.trace(static_cast<int>(trim_right(summary_).size()), summary_);
    popup(last_severity_, escape_slashes(summary_));
  }

  RunSettings settings_;
  Journal journal_;
  Io io_;
  inst00 inst_;
  ConstraintTable table_;
  FlightPlan fpl_;
  PlanCarry carry_;
  AirspaceCounts airspace_counts_;
  const AirspaceCount airspace_count_ = [this](const std::string& landscape) {
    return landscape_airspace_count(io_, inst_, landscape, &airspace_counts_);
  };
  std::optional<FindingsRecord> record_;  // what the outputs asked for need: none without them
  std::string summary_;    // the summary popup of popup mode 1, its names not yet escaped
  int last_severity_ = 0;  // severity of the last plan checked
};

}  // namespace

void run_program(Console& con, const std::vector<std::string>& args) {
  CheckRun(con, args).run();
}

}  // namespace brevanto
