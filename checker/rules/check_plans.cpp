#include "check_plans.hpp"

#include "evaluation.hpp"
#include "finding_text.hpp"
#include "fixed_text.hpp"
#include "read_fpl.hpp"
#include "rule_index.hpp"
#include "value_primitives.hpp"

namespace brevanto {

namespace {

constexpr std::string_view kSkipped = "not a Soarix flight plan, skipped";

class PlansCheck {
 public:
  PlansCheck(Console& trace, const ConstraintTable& table, const CheckOptions& options,
             PlanSource& source, ReportSink& sink)
      : con_(trace),
        table_(table),
        options_(options),
        source_(source),
        sink_(sink),
        lookup_(table) {}

  CheckRunResult run(std::span<const PlanInput> plans) {
    CheckRunResult result;
    for (std::size_t k = 0; k < plans.size(); ++k) {
      const FileResult file = check_file(plans[k]);
      result.totals.add(file);
      if (file == FileResult::unreadable && !options_.qkeepgoing) {
        // The plans after this one are not checked: the report says how many.
        write_totals(result.totals);
        sink_.report_line(std::string(text("*** run stopped: ",
                                           "*** v\xE9rification arr\xEAt\xE9"
                                           "e : ")) +
                          std::to_string(plans.size() - k - 1) +
                          std::string(text(" of the named plans not checked ***",
                                           " des plans nomm\xE9s non v\xE9rifi\xE9s ***")));
        result.stopped = true;
        return result;
      }
    }
    write_totals(result.totals);
    return result;
  }

 private:
  std::string_view text(std::string_view english, std::string_view french) const {
    return in_language(options_.language, english, french);
  }

  void write_totals(const RunTotals& totals) {
    sink_.report_lines({std::string(78, '-'), totals_line(totals, options_.language)});
  }

  FileResult check_file(const PlanInput& input) {
    PlanReport end;
    end.path = std::string(trim_right(input.path));
    end.shown = input.shown;
    end.shown_length = end.shown.size();
    // The extension starts at the first "." of the name. Where "/" separates folders, a path's
    // folders are not part of the name: the default Wine prefix itself is "~/.wine".
    const std::size_t slash =
        options_.slash_separates_folders ? end.path.rfind('/') : std::string::npos;
    const std::size_t dot = end.path.find('.', slash == std::string::npos ? 0 : slash + 1);
    if (dot != std::string::npos) {
      const std::string_view extension = std::string_view(end.path).substr(dot + 1);
      if (extension != "fpl" && extension != "FPL") return skipped(end);
    } else {
      end.path += ".fpl";
      end.shown += ".fpl";
    }
    sink_.report_lines({std::string(78, '-'), " ", end.shown, " "});
    sink_.plan_begun(end);

    TextFile plan;
    if (!source_.open_plan(end.path, plan)) {
      return unreadable(end, {end.shown, text("cannot be opened", "Ouverture impossible")},
                        text("cannot be opened", "Ouverture impossible"));
    }
    float cloud_base = 0;
    if (table_.qbase) {
      const FplReadState state = read_fpl(con_, airspace_count_, fpl_, plan, options_.qverb);
      if (state.too_many_turnpoints) {
        const std::string message(too_many_turnpoints_message(options_.language));
        return unreadable(end, {message}, message);
      }
      con_.trace(state.nl, state.ios);
      cloud_base = get_cloud_base(con_, fpl_);
      plan.rewind();  // the check reads the plan again from its first line, most often from memory
    }
    if (options_.qverb) con_.trace("Qfinish ", table_.qfinish);

    const PlanCheckResult checked =
        check_plan(con_, table_, lookup_, options_, carry_, plan, cloud_base, sink_);
    plan.close();
    if (checked.end == ScanEnd::read_error) {
      const std::string message =
          "*** " + end.shown +
          std::string(text(" : error reading ***", " : erreur de lecture ***"));
      const FileResult unread =
          unreadable(end, {message}, text("error reading", "erreur de lecture"));
      con_.trace("*** at line_number :", checked.nl, " ***");
      return unread;
    }
    end.nl_nok = checked.nl_nok;
    end.not_a_plan = checked.not_a_plan;
    if (checked.nl_nok == 0) {
      sink_.report_lines({text("No error found", "Pas d'erreur"), " "});
      end.result = FileResult::clean;
    } else {
      sink_.report_lines({" ", invalid_lines_text(checked.nl_nok, options_.language), " "});
      end.result = FileResult::invalid;
    }
    sink_.plan_ended(end);
    return end.result;
  }

  // A file whose name is not a flight plan's: among the console's diagnostic lines as always, and
  // in the report so that no file named for the run goes unmentioned.
  FileResult skipped(PlanReport& end) {
    con_.note(std::string(52, '-'));
    con_.note("");
    con_.note(end.shown + " : " + std::string(kSkipped));
    con_.note("");
    sink_.report_lines({std::string(78, '-'), " ", end.shown, " ", kSkipped, " "});
    end.result = FileResult::skipped;
    end.problem_short = kSkipped;
    sink_.plan_begun(end);
    sink_.plan_ended(end);
    return FileResult::skipped;
  }

  // A plan that cannot be opened or read: its message in its block.
  FileResult unreadable(PlanReport& end, std::initializer_list<std::string_view> message,
                        std::string_view short_message) {
    for (const std::string_view line : message)
      end.problem.emplace_back(line);
    end.problem_short = short_message;
    end.result = FileResult::unreadable;
    sink_.report_lines(message);
    sink_.report_line(" ");
    sink_.plan_ended(end);
    return FileResult::unreadable;
  }

  Console& con_;
  const ConstraintTable& table_;
  const CheckOptions& options_;
  PlanSource& source_;
  ReportSink& sink_;
  RuleLookup lookup_;
  FlightPlan fpl_;
  PlanCarry carry_;
  const AirspaceCount airspace_count_ = [this](const std::string& landscape) {
    return source_.airspace_count(landscape);
  };
};

}  // namespace

void RunTotals::add(FileResult result) {
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

std::string totals_line(const RunTotals& totals, Language language) {
  const auto n = [](int count) { return std::to_string(count); };
  if (language == Language::french) {
    return n(totals.files()) + " plans v\xE9rifi\xE9s : " + n(totals.clean) + " sans erreur, " +
           n(totals.invalid) + " avec lignes incorrectes, " + n(totals.unreadable) +
           " illisibles, " + n(totals.skipped) + " ignor\xE9s";
  }
  return n(totals.files()) + " plans checked: " + n(totals.clean) + " without error, " +
         n(totals.invalid) + " with invalid lines, " + n(totals.unreadable) + " unreadable, " +
         n(totals.skipped) + " skipped";
}

CheckRunResult check_plans(Console& trace, const ConstraintTable& table,
                           std::span<const PlanInput> plans, const CheckOptions& options,
                           PlanSource& source, ReportSink& sink) {
  return PlansCheck(trace, table, options, source, sink).run(plans);
}

}  // namespace brevanto
