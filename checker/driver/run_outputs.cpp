#include "run_outputs.hpp"

#include <algorithm>

#include "fixed_text.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kBlock = std::size_t{64} * 1024;

// Whether `path` names one of `files`: the same file under any spelling, or, for a file that
// does not exist yet, the same name.
bool names_one_of(const std::string& path, const std::vector<std::string>& files) {
  return std::any_of(files.begin(), files.end(), [&path](const std::string& file) {
    return !file.empty() &&
           (trim_right(file) == trim_right(path) || platform::same_file(path, file));
  });
}

}  // namespace

void RunOutputs::Blocks::write(std::string_view bytes) {
  if (error_ != 0) return;
  block_ += bytes;
  if (block_.size() >= kBlock) flush();
}

int RunOutputs::Blocks::flush() {
  if (error_ == 0 && !block_.empty()) error_ = store_(block_);
  block_.clear();
  return error_;
}

RunOutputs::RunOutputs(const OutputFiles& files, HtmlReportHead head, MapReader read_map) {
  csv_.path = files.csv;
  html_.path = files.html;
  if (!csv_.path.empty()) {
    csv_.of_the_run = names_one_of(csv_.path, files.run);
    if (!csv_.of_the_run) csv_.error = csv_.file.open(csv_.path);
    if (csv_.file.is_open()) csv_report_.emplace(csv_blocks_, files.csv_separator);
  }
  if (!html_.path.empty()) {
    std::vector<std::string> others = files.run;
    others.push_back(csv_.path);
    html_.of_the_run = names_one_of(html_.path, others);
    if (!html_.of_the_run) html_.error = html_.file.open(html_.path);
    if (html_.file.is_open()) html_.error = sections_.open(html_.path);
    if (html_.error != 0) html_.file.discard();
    if (sections_.is_open()) {
      html_report_.emplace(std::move(head), sections_blocks_, std::move(read_map));
    }
  }
}

void RunOutputs::plan_begun(const PlanReport& plan) {
  if (csv_report_) csv_report_->plan_begun(plan.shown);
  if (html_report_) html_report_->plan_begun(plan.path, plan.shown);
}

void RunOutputs::finding(const Finding& finding) {
  if (csv_report_) csv_report_->finding(finding);
  if (html_report_) html_report_->finding(finding);
}

void RunOutputs::plan_ended(const PlanReport& plan) {
  if (csv_report_) csv_report_->plan_ended(plan_outcome(plan), plan.nl_nok);
  if (html_report_) html_report_->plan_ended(plan_outcome(plan), plan.nl_nok);
}

std::vector<std::string> RunOutputs::finish(const std::string& totals, Language language) {
  if (csv_report_) {
    csv_.error = csv_blocks_.flush();
    if (csv_.error == 0) csv_.error = csv_.file.commit();
  }
  if (html_report_) {
    html_report_->set_totals(totals);
    Blocks page(html_.file);
    html_report_->write_start(page);
    int error = sections_blocks_.flush();
    if (error == 0) error = page.flush();
    if (error == 0) error = sections_.copy_to(html_.file);
    html_report_->write_end(page);
    if (error == 0) error = page.flush();
    if (error == 0) error = html_.file.commit();
    html_.error = error;
    sections_.close();
  }
  std::vector<std::string> faults;
  for (const Output* output : {&csv_, &html_}) {
    if (output->path.empty() || (!output->of_the_run && output->error == 0)) continue;
    const bool french = language == Language::french;
    faults.push_back("*** " + escape_slashes(platform::path_for_display(output->path)) +
                     (output->of_the_run
                          ? (french ? " : un fichier de cette v\xE9rification, non remplac\xE9 ***"
                                    : " : a file of this run, not replaced ***")
                          : (french ? " : \xE9"
                                      "criture impossible ***"
                                    : " : cannot be written ***")));
  }
  csv_.file.discard();
  html_.file.discard();
  return faults;
}

}  // namespace brevanto
