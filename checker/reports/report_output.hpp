// Where a report's bytes go as they are made: the file the console program is writing, or a
// string (the web page, the tests). The renderers write their rows and sections here as the run
// goes, and keep no more than one plan's worth of them.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

class ReportOutput {
 public:
  ReportOutput() = default;
  ReportOutput(const ReportOutput&) = delete;
  ReportOutput& operator=(const ReportOutput&) = delete;
  virtual ~ReportOutput() = default;

  // The next bytes of the file, in UTF-8. A failure to store them is the owner's to tell.
  virtual void write(std::string_view bytes) = 0;
};

// A report made into a string.
class StringOutput final : public ReportOutput {
 public:
  explicit StringOutput(std::string& text) : text_(&text) {}
  void write(std::string_view bytes) override { text_->append(bytes); }

 private:
  std::string* text_;
};

}  // namespace brevanto
