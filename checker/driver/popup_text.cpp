#include "popup_text.hpp"

#include "fixed_text.hpp"

namespace brevanto {

namespace {
// The room of a plan's list of violations, and what the verbose console shows as left of it.
constexpr int kMsg00Room = 421;
constexpr int kMsg00Verbose = 505;
constexpr std::size_t kSummaryRoom = 500;
}  // namespace

std::string_view seefile_text(Language language) {
  return language == Language::french ? seefile[0] : seefile[1];
}

void ViolationList::add(const std::string& line) {
  const int used = static_cast<int>(text_.size());
  const int length = static_cast<int>(line.size());
  if (verbose_) trace_.trace(used, name_length_, length, kMsg00Verbose - name_length_ - length);
  if (used >= kMsg00Room - name_length_ - length) {
    const std::string_view see = seefile_text(see_file_);
    if (text_.find(see) == std::string::npos) text_ += "\n" + std::string(see);
  } else {
    text_ += "\n-" + line;
  }
  if (text_.size() > kMsgLen) text_.resize(kMsgLen);
}

void SummaryText::add(const std::string& short_name, std::size_t name_length,
                      const std::string& result) {
  const std::string_view see = seefile_text(see_file_);
  if (text_.size() + name_length + result.size() + see.size() >= kSummaryRoom) {
    if (text_.find(see) == std::string::npos) text_ += "\n" + std::string(see);
  } else {
    text_ = fit(text_ + "\n" + short_name + "\n" + result, kMsgLen);
  }
}

}  // namespace brevanto
