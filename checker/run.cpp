#include "run.hpp"

#include <algorithm>
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

// How a file named for the run ended.
enum class FileResult { clean, invalid, unreadable, skipped };

// The run's files, by how each ended.
struct RunTotals {
  int clean = 0, invalid = 0, unreadable = 0, skipped = 0;

  void add(FileResult result) {
    switch (result) {
      case FileResult::clean:
        ++clean;
        break;
      case FileResult::invalid:
        ++invalid;
        break;
      case FileResult::unreadable:
        ++unreadable;
        break;
      case FileResult::skipped:
        ++skipped;
        break;
    }
  }
  int files() const { return clean + invalid + unreadable + skipped; }
};

// The more serious of two popup severities: an error before a warning before information.
int worse(int a, int b) {
  const auto rank = [](int severity) {
    return severity == s_error ? 2 : (severity == s_warning ? 1 : 0);
  };
  return rank(a) >= rank(b) ? a : b;
}

constexpr std::string_view kSkipped = "not a Soarix flight plan, skipped";

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
    io_.con.trace(settings_.deffil);
    const std::vector<std::string> plans = choose_plans();
    if (plans.empty()) {
      popup_error(text("*** No input file specified ***", "*** Aucun fichier \xE0 lire ***"));
      throw ProgramStop{1};
    }
    if (const std::optional<RulesFault> fault = read_rules_file(io_, settings_, table_)) {
      log(fault->message);
      popup_error(fault->message);
      throw ProgramStop{1};
    }
    if (settings_.qunused || !settings_.csv_file.empty() || !settings_.html_file.empty()) {
      record_.emplace(table_.check_num,
                      !settings_.csv_file.empty() || !settings_.html_file.empty());
    }
    for (std::size_t k = 0; k < plans.size(); ++k) {
      const std::optional<FileResult> result = check_plan_file(plans[k]);
      if (!result) continue;
      totals_.add(*result);
      if (*result == FileResult::unreadable && !settings_.qkeepgoing) {
        // The plans after this one are not checked: the log says how many, and the outputs keep
        // what was found up to here.
        const auto not_checked =
            std::count_if(plans.begin() + static_cast<std::ptrdiff_t>(k) + 1, plans.end(),
                          [](const std::string& name) { return !name.starts_with("-"); });
        write_totals();
        log(std::string(text("*** run stopped: ",
                             "*** v\xE9rification arr\xEAt\xE9"
                             "e : ")) +
            std::to_string(not_checked) +
            std::string(text(" of the named plans not checked ***",
                             " des plans nomm\xE9s non v\xE9rifi\xE9s ***")));
        write_outputs();
        throw ProgramStop{1};
      }
    }
    write_totals();
    if (settings_.qunused) report_unused_rules(journal_, table_, *record_, settings_.language);
    const bool written = write_outputs();
    summary();
    if (!written || totals_.unreadable > 0) throw ProgramStop{1};
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

  // The plans of the command line (every argument but options, which the loop skips), or those
  // chosen in the dialog, which opens in the active version's flight-plan folder.
  std::vector<std::string> choose_plans() {
    if (settings_.nfil > 0) {
      return std::vector<std::string>(settings_.args.begin() + 1, settings_.args.end());
    }
    const std::string folder = inst_.sorxrootpath + "FlightPlans\\";
    io_.con.trace(folder);
    const std::optional<std::string> chosen =
        GetFileName(io_.con, "Brevanto : Select flight plan(s)", folder, "*.fpl",
                    "Soarix Flight Plans (*.fpl)", true);
    const std::string file_list = chosen.value_or("");
    io_.con.trace(file_list, static_cast<int>(file_list.size()));
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

  // The run's totals after its last plan, in the log and on the console (and in the HTML report).
  std::string totals_line() const {
    const auto n = [](int count) { return std::to_string(count); };
    if (settings_.language == Language::french) {
      return n(totals_.files()) + " plans v\xE9rifi\xE9s : " + n(totals_.clean) + " sans erreur, " +
             n(totals_.invalid) + " avec lignes incorrectes, " + n(totals_.unreadable) +
             " illisibles, " + n(totals_.skipped) + " ignor\xE9s";
    }
    return n(totals_.files()) + " plans checked: " + n(totals_.clean) + " without error, " +
           n(totals_.invalid) + " with invalid lines, " + n(totals_.unreadable) + " unreadable, " +
           n(totals_.skipped) + " skipped";
  }
  void write_totals() { log_lines(journal_, {std::string(78, '-'), totals_line()}); }

  // A plan that cannot be opened or read: its message in its block; then the run stops on it
  // with the message in an error box, or, with -keepgoing, goes on with the plan reported as
  // the popup mode shows every plan's result (`result`, the message without the plan's name).
  FileResult unreadable(const std::string& msg, const std::string& short_name,
                        std::size_t shown_length, std::string_view result) {
    log_lines(journal_, {msg, " "});
    if (!settings_.qkeepgoing) {
      worst_ = worse(worst_, s_error);
      popup_error(msg);
    } else {
      result_popup(s_error, short_name, shown_length, std::string(result), "");
    }
    return FileResult::unreadable;
  }

  // A file whose name is not a flight plan's: on the console as always, and in the report so
  // that no file named for the run goes unmentioned.
  FileResult skipped(const std::string& infile, const std::string& short_name,
                     std::size_t shown_length) {
    const std::string shown = platform::path_for_display(infile);
    io_.con.line(std::string(52, '-'));
    io_.con.line("");
    io_.con.line(shown + " : " + std::string(kSkipped));
    io_.con.line("");
    log_lines(journal_, {std::string(78, '-'), "", escape_slashes(shown), "", kSkipped, ""});
    if (record_) record_->skipped_file(infile, shown);
    result_popup(s_warning, short_name, shown_length, std::string(kSkipped), "");
    return FileResult::skipped;
  }

  // The name a popup shows for a plan: the whole name, or its start and end when it is long.
  static std::string short_name_of(const std::string& shown, std::size_t& shown_length) {
    if (shown_length <= kDisplayLen) return shown;
    std::string short_name = shown.substr(0, 10) + "..." + shown.substr(shown_length - 49, 49);
    shown_length = kDisplayLen;
    return short_name;
  }

  // Checks one named file; nothing for an option among the names.
  std::optional<FileResult> check_plan_file(std::string infile) {
    if (infile.starts_with("-")) return std::nullopt;  // an option among the file arguments
    infile = std::string(trim_right(infile));
    // The extension starts at the first "." of the name. Where "/" separates folders, a native
    // path's folders are not part of the name: the default Wine prefix itself is "~/.wine".
    const std::size_t slash =
        platform::slash_is_separator() ? infile.rfind('/') : std::string::npos;
    const std::size_t dot = infile.find('.', slash == std::string::npos ? 0 : slash + 1);
    // What the log and the popups show; the name's length does not count an added ".fpl".
    std::string shown = platform::path_for_display(infile);
    std::size_t shown_length = shown.size();
    if (dot != std::string::npos) {
      const std::string_view extension = std::string_view(infile).substr(dot + 1);
      if (extension != "fpl" && extension != "FPL") {
        const std::string short_name = short_name_of(shown, shown_length);
        return skipped(infile, short_name, shown_length);
      }
    } else {
      infile += ".fpl";
      shown += ".fpl";
    }
    const std::string short_name = short_name_of(shown, shown_length);
    log_lines(journal_, {std::string(78, '-'), "", escape_slashes(shown), ""});
    if (record_) record_->begin_plan(infile, shown);

    TextFile plan;
    if (!plan.open(infile)) {
      return unreadable(
          escape_slashes(shown) + std::string(text("/cannot be opened", "/Ouverture impossible")),
          short_name, shown_length, text("cannot be opened", "Ouverture impossible"));
    }
    float cloud_base = 0;
    if (table_.qbase) {
      const FplReadState state = read_fpl(io_.con, airspace_count_, fpl_, plan, settings_.qverb);
      if (state.too_many_turnpoints) {
        const std::string msg(too_many_turnpoints_message(settings_.language));
        return unreadable(msg, short_name, shown_length, msg);
      }
      io_.con.trace(state.nl, state.ios);
      cloud_base = get_cloud_base(io_.con, fpl_);
      plan.rewind();  // the check reads the plan again from its first line, most often from memory
    }
    if (settings_.qverb) io_.con.trace("Qfinish ", table_.qfinish);

    const PlanCheckResult result =
        check_plan(io_, settings_, table_, carry_, plan, cloud_base, static_cast<int>(shown_length),
                   record_ ? &*record_ : nullptr);
    plan.close();
    restore_finish_keys(io_.con, settings_.qverb, table_);
    if (result.end == ScanEnd::read_error) {
      const std::string msg = "*** " + escape_slashes(shown) +
                              std::string(text(" : error reading ***", " : erreur de lecture ***"));
      const FileResult unread =
          unreadable(msg, short_name, shown_length, text("error reading", "erreur de lecture"));
      io_.con.trace("*** at line_number :", result.nl, " ***");
      return unread;
    }
    report(result, short_name, shown_length);
    if (record_) record_->end_plan(result.nl_nok, result.not_a_plan);
    return result.nl_nok == 0 ? FileResult::clean : FileResult::invalid;
  }

  // The plan's result in the log, and in the popups of the popup mode.
  void report(const PlanCheckResult& result, const std::string& short_name,
              std::size_t shown_length) {
    std::string msg;
    int severity = s_info;
    if (result.nl_nok == 0) {
      msg = text("No error found", "Pas d'erreur");
      log_lines(journal_, {msg, ""});
    } else {
      severity = s_error;
      msg = fmt_i(result.nl_nok, 2);
      msg += text(" invalid lines", " lignes incorrectes");
      log_lines(journal_, {"", msg, ""});
    }
    result_popup(severity, short_name, shown_length, msg, result.msg00);
  }

  // A file's result in the popups of the popup mode: a popup of its own (with `details`, the
  // plan's violations, in popup mode 3), or its place in the summary of popup mode 1.
  void result_popup(int severity, const std::string& short_name, std::size_t shown_length,
                    std::string msg, const std::string& details) {
    worst_ = worse(worst_, severity);
    switch (settings_.npopup) {
      case 2:
      case 3: {
        if (settings_.npopup == 3 && !details.empty()) msg = fit(msg + details, kMsgLen);
        popup(severity, escape_slashes(short_name + "\n" + msg));
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
                                table_.check_num, date_time_text(now), totals_line()};
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

  // The summary of popup mode 1, with the icon of the worst result of the run.
  void summary() {
    if (settings_.npopup != 1) return;
    io_.con.trace(static_cast<int>(trim_right(summary_).size()), summary_);
    popup(worst_, escape_slashes(summary_));
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
  std::string summary_;  // the summary popup of popup mode 1, its names not yet escaped
  int worst_ = s_info;   // the most serious result of the run so far
  RunTotals totals_;
};

}  // namespace

void run_program(Console& con, const std::vector<std::string>& args) {
  CheckRun(con, args).run();
}

}  // namespace brevanto
