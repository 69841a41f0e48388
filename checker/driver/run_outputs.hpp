// The outputs a run is asked for, the CSV export (-csv=FILE) and the HTML report (-html=FILE):
// each made as the check goes, row by row and plan by plan, into a temporary file that takes the
// output's name once the run has ended; never in place of a file the run reads or writes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "csv_report.hpp"
#include "html_report.hpp"
#include "language.hpp"
#include "platform.hpp"
#include "report_sink.hpp"

namespace brevanto {

// Where the outputs go, and the files of the run they must never replace.
struct OutputFiles {
  std::string csv;               // empty: none
  std::string html;              // empty: none
  char csv_separator = ',';      // "," or ";"
  std::vector<std::string> run;  // the report log, the rules file, the settings file and every
                                 // plan named or chosen, checked or not
};

class RunOutputs {
 public:
  // Starts the outputs of `files`: an output that would replace a file of the run, or the other
  // output, is not made; one whose file cannot be made is said at the end. The HTML report says
  // `head` of the run and reads each plan again for its map through `read_map`.
  RunOutputs(const OutputFiles& files, HtmlReportHead head, MapReader read_map);
  RunOutputs(const RunOutputs&) = delete;
  RunOutputs& operator=(const RunOutputs&) = delete;

  // What the check tells, as it goes.
  void plan_begun(const PlanReport& plan);
  void finding(const Finding& finding);
  void plan_ended(const PlanReport& plan);

  // Completes the outputs with the run's `totals` line and gives them their names. Returns the
  // report log's lines, in `language`, for the outputs that could not be written ("*** out.csv :
  // cannot be written ***", or "... : a file of this run, not replaced ***"); none when all were.
  std::vector<std::string> finish(const std::string& totals, Language language);

 private:
  // A report's bytes gathered in blocks for the file that stores them; the first failure stops
  // the writing and is kept.
  class Blocks final : public ReportOutput {
   public:
    template <typename File>
    explicit Blocks(File& file)
        : store_([&file](std::string_view bytes) { return file.write(bytes); }) {}
    void write(std::string_view bytes) override;
    int flush();

   private:
    std::function<int(std::string_view)> store_;
    std::string block_;
    int error_ = 0;
  };

  struct Output {
    std::string path;
    bool of_the_run = false;  // names a file of the run: not written
    int error = 0;            // the first failure of its file
    platform::WholeFile file;
  };

  Output csv_;
  Output html_;
  platform::ScratchFile sections_;  // the HTML report's sections, until its head is written
  Blocks csv_blocks_{csv_.file};
  Blocks sections_blocks_{sections_};
  std::optional<CsvReport> csv_report_;
  std::optional<HtmlReport> html_report_;
};

}  // namespace brevanto
