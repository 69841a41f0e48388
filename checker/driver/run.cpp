#include "run.hpp"

#include <algorithm>
#include <optional>
#include <string_view>

#include "GetFilename.hpp"
#include "To_GUI.hpp"
#include "check_plans.hpp"
#include "entry.hpp"
#include "finding_text.hpp"
#include "findings.hpp"
#include "fixed_text.hpp"
#include "get_active_soarix_version.hpp"
#include "get_soarix_inst_dir.hpp"
#include "log_message.hpp"
#include "platform.hpp"
#include "popup_text.hpp"
#include "rule_usage.hpp"
#include "rules_file.hpp"
#include "run_outputs.hpp"
#include "settings.hpp"
#include "stop.hpp"
#include "text_file.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kDisplayLen = 62;  // longest plan name shown in a popup

// The more serious of two popup severities: an error before a warning before information.
int worse(int a, int b) {
  const auto rank = [](int severity) {
    return severity == s_error ? 2 : (severity == s_warning ? 1 : 0);
  };
  return rank(a) >= rank(b) ? a : b;
}

// The name a popup shows for a plan: the whole name, or its start and end when it is long;
// `length` becomes the length the popups count for it.
std::string short_name_of(const std::string& shown, std::size_t& length) {
  if (length <= kDisplayLen) return shown;
  std::string short_name = shown.substr(0, 10) + "..." + shown.substr(length - 49, 49);
  length = kDisplayLen;
  return short_name;
}

// The settings that change the check's report.
CheckOptions check_options(const RunSettings& s) {
  CheckOptions options;
  options.language = s.language;
  options.fltpntacy = s.fltpntacy;
  options.qverb = s.qverb;
  options.qoklines = s.qoklines;
  options.qmissing = s.qmissing;
  options.qkeepgoing = s.qkeepgoing;
  options.slash_separates_folders = platform::slash_is_separator();
  return options;
}

// The records of one run, and the run itself from the choice of the rules file to the summary.
// It is the sink of the check: the report goes to the journal (console and report log), the
// findings to the outputs asked for, the plans' results to the popups.
class CheckRun : private ReportSink, private PlanSource {
 public:
  CheckRun(Console& con, const std::vector<std::string>& args)
      : journal_(con, args.empty() ? std::string() : args[0]), io_{con, journal_, settings_} {
    settings_.args = args;
  }

  void run() {
    start_up(journal_, settings_);
    options_ = check_options(settings_);
    summary_ = SummaryText(settings_.ui_language);
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
    const std::vector<PlanInput> plans = choose_plans();
    if (plans.empty()) {
      popup_error(text("*** No input file specified ***", "*** Aucun fichier \xE0 lire ***"));
      throw ProgramStop{1};
    }
    read_rules_file();
    applied_.emplace(table_.check_num);
    start_outputs(plans);

    const CheckRunResult checked = check_plans(io_.con, table_, plans, options_, *this, *this);
    totals_ = checked.totals;
    if (checked.stopped) {
      finish_outputs();  // what was found up to the plan the run stopped on, which is unreadable
      throw ProgramStop{1};
    }
    if (settings_.qunused) report_unused_rules(*this, table_, *applied_, settings_.language);
    const bool written = finish_outputs();
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
    error_message_tit(io_.con, severity, settings_.app_name, msg, false);
  }
  void popup_error(std::string_view msg) { popup(s_error, std::string(msg)); }

  // Reads the rules file into the table; a file that cannot be used ends the run.
  void read_rules_file() {
    const std::string path(trim_right(settings_.deffil));
    const std::string shown = platform::path_for_display(path);
    TextFile file(path, TextFile::Decoding::detect_utf8);
    tell_if_from_utf8(io_.con, file, path);
    std::optional<RulesFault> fault;
    if (!file.is_open()) {
      fault = rules_file_cannot_be_opened(shown, settings_.language);
    } else {
      fault = read_rules(io_.con, file, shown, options_, table_, *this);
    }
    if (!fault) return;
    log(fault->message);
    popup_error(fault->message);
    throw ProgramStop{1};
  }

  // The plans of the command line, or those chosen in the dialog, which opens in the active
  // version's flight-plan folder.
  std::vector<PlanInput> choose_plans() {
    std::vector<PlanInput> plans;
    const auto add = [&plans](std::string_view path) {
      const std::string name(trim_right(path));
      plans.push_back(PlanInput{name, platform::path_for_display(name)});
    };
    if (!settings_.plans.empty()) {
      for (const std::string& plan : settings_.plans)
        add(plan);
      return plans;
    }
    const std::string folder = inst_.sorxrootpath + "FlightPlans\\";
    io_.con.trace(platform::path_for_display(folder));
    const std::optional<std::string> chosen = GetFileName(
        io_.con, "Brevanto : Select flight plan(s)", folder, "*.fpl", "Flight plans (*.fpl)", true);
    const std::string file_list = chosen.value_or("");
    io_.con.trace(platform::path_for_display(file_list), static_cast<int>(file_list.size()));
    if (file_list.empty()) return plans;
    // The whole result: cutting it would cut the last path, which could then name another plan.
    for (std::size_t from = 0;;) {
      const std::size_t bar = file_list.find('|', from);
      std::string infile = file_list.substr(from, bar == std::string::npos ? bar : bar - from);
      for (char& c : infile) {
        if (c == '\0') c = ' ';
      }
      add(infile);
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
    return plans;
  }

  // ---- What the check asks of the console program ----

  bool open_plan(const std::string& path, TextFile& plan) override {
    const bool opened = plan.open(path, TextFile::Decoding::detect_utf8);
    tell_if_from_utf8(io_.con, plan, path);
    return opened;
  }
  int airspace_count(const std::string& landscape) override {
    return landscape_airspace_count(io_, inst_, landscape, &airspace_counts_);
  }

  // ---- What the check tells it ----

  void report_lines(std::initializer_list<std::string_view> lines) override {
    log_text_lines(journal_, lines);
  }

  void plan_begun(const PlanReport& plan) override {
    if (outputs_) outputs_->plan_begun(plan);
    violations_.emplace(io_.con, settings_.qverb, settings_.ui_language,
                        std::min(plan.shown_length, kDisplayLen));
  }

  void finding(const Finding& f) override {
    if (outputs_) outputs_->finding(f);
    if (f.verdict != Verdict::ok) violations_->add(popup_line(f, settings_.language));
  }

  void rule_applies(int rule) override { applied_->rule_applies(rule); }

  void plan_ended(const PlanReport& end) override {
    if (outputs_) outputs_->plan_ended(end);
    std::size_t length = end.shown_length;
    const std::string short_name = short_name_of(end.shown, length);
    switch (end.result) {
      case FileResult::skipped:
        result_popup(s_warning, short_name, length, end.problem_short, "");
        break;
      case FileResult::unreadable:
        if (!settings_.qkeepgoing) {
          // The run stops on it: the message in an error box of its own.
          worst_ = worse(worst_, s_error);
          std::string message;
          for (const std::string& line : end.problem)
            message += (message.empty() ? "" : "/") + escape_slashes(line);
          popup_error(message);
        } else {
          result_popup(s_error, short_name, length, end.problem_short, "");
        }
        break;
      case FileResult::clean:
      case FileResult::invalid: {
        const bool invalid = end.result == FileResult::invalid;
        std::string msg(invalid ? invalid_lines_text(end.nl_nok, settings_.language)
                                : std::string(text("No error found", "Pas d'erreur")));
        result_popup(invalid ? s_error : s_info, short_name, length, msg, violations_->text());
        break;
      }
    }
  }

  // A file's result in the popups of the popup mode: a popup of its own (with `details`, the
  // plan's violations, in popup mode 3), or its place in the summary of popup mode 1.
  void result_popup(int severity, const std::string& short_name, std::size_t length,
                    std::string msg, const std::string& details) {
    worst_ = worse(worst_, severity);
    switch (settings_.npopup) {
      case 2:
      case 3: {
        if (settings_.npopup == 3 && !details.empty()) msg = fit(msg + details, kMsgLen);
        popup(severity, escape_slashes(short_name + "\n" + msg));
        break;
      }
      case 1:
        summary_.add(short_name, length, msg);
        break;
      default:
        break;
    }
  }

  // The CSV export and the HTML report the command line asks for, made as the check goes. They
  // never replace a file of the run: the report log, the rules file, the settings file, a plan
  // named or chosen.
  void start_outputs(const std::vector<PlanInput>& plans) {
    OutputFiles files{settings_.csv_file, settings_.html_file, settings_.csv_separator, {}};
    if (files.csv.empty() && files.html.empty()) return;
    files.run = {journal_.filnam, settings_.deffil,
                 settings_file_name(settings_.args.empty() ? "" : settings_.args[0])};
    for (const PlanInput& plan : plans) {
      files.run.push_back(plan.path);
      files.run.push_back(plan.path + ".fpl");  // a name without extension is read so
    }
    // Each plan is read again for its map, its file as the check read it.
    outputs_.emplace(
        files,
        html_report_head(settings_.language, platform::path_for_display(settings_.deffil), table_,
                         date_time_text(platform::local_time())),
        plan_file_for_map);
  }

  // Completes the outputs; false when one of them could not be written, which the journal then
  // says.
  bool finish_outputs() {
    if (!outputs_) return true;
    const std::vector<std::string> faults =
        outputs_->finish(totals_line(totals_, settings_.language), settings_.language);
    for (const std::string& fault : faults)
      log(fault);
    return faults.empty();
  }

  // The summary of popup mode 1, with the icon of the worst result of the run.
  void summary() {
    if (settings_.npopup != 1) return;
    const std::string& text = summary_.text();
    io_.con.trace(static_cast<int>(trim_right(text).size()), text);
    popup(worst_, escape_slashes(text));
  }

  RunSettings settings_;
  CheckOptions options_;
  Journal journal_;
  Io io_;
  inst00 inst_;
  ConstraintTable table_;
  AirspaceCounts airspace_counts_;
  std::optional<RulesApplied> applied_;
  std::optional<RunOutputs> outputs_;        // the CSV export and the HTML report asked for
  std::optional<ViolationList> violations_;  // the current plan's, for its popup
  SummaryText summary_{Language::english};   // the see-file text follows the interface language
  int worst_ = s_info;                       // the most serious result of the run so far
  RunTotals totals_;
};

}  // namespace

void run_program(Console& con, const std::vector<std::string>& args) {
  CheckRun(con, args).run();
}

}  // namespace brevanto
