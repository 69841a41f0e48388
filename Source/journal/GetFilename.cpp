#include "GetFilename.hpp"

#include <optional>
#include <string>

#include "IsLanguageFrench.hpp"
#include "To_GUI.hpp"
#include "platform.hpp"
#include "tinyfiledialogs.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kFilterLen = 63;
constexpr std::size_t kPatternLen = 31;
constexpr std::size_t kMaxPatterns = 10;

void trace(Console& con, std::string_view name, std::string_view text) {
  con.note(std::string(name) + " " + std::string(text) + " " + std::to_string(text.size()));
}

void cancel_box(Console& con, const char* message) {
  con.flush();
  tinyfd_messageBox(std::string(kDialogErrorTitle).c_str(), message, "ok", "error", 1);
}

void no_file_box(Console& con) {
  cancel_box(con, IsLanguageFrench() == 1 ? "Aucun fichier sp\xE9"
                                            "cifi\xE9"
                                          : "No file specification returned");
}

// The patterns as the dialog library takes them: an array of C texts that lives as long as
// `patterns`.
std::vector<const char*> c_texts(const std::vector<std::string>& patterns) {
  std::vector<const char*> out;
  out.reserve(patterns.size());
  for (const std::string& p : patterns)
    out.push_back(p.c_str());
  return out;
}

// A dialog's answer: NULL (or, defensively, an empty text) is a cancel.
bool chosen(const char* answer) {
  return answer != nullptr && *answer != '\0';
}

}  // namespace

std::vector<std::string> split_filter(std::string_view filter) {
  std::string_view rest = filter.substr(0, kFilterLen);
  std::vector<std::string> patterns;
  while (!rest.empty() && patterns.size() < kMaxPatterns) {
    const std::size_t comma = rest.find(',');
    std::string_view pattern = rest;
    if (comma != std::string_view::npos && comma != 0) {
      pattern = rest.substr(0, comma);
      rest.remove_prefix(comma + 1);
    } else {
      rest = {};
    }
    patterns.emplace_back(pattern.substr(0, kPatternLen));
  }
  return patterns;
}

namespace {

// The common road of the open and save dialogs: traces, patterns, the dialog, the cancel box.
// `show` opens the dialog with the count and array of patterns.
template <typename Show>
std::optional<std::string> file_dialog(Console& con, std::string_view name, std::string_view path,
                                       std::string_view filter, Show show) {
  const std::string_view used_filter = filter.substr(0, kFilterLen);
  trace(con, name, used_filter);
  trace(con, name, platform::path_for_display(path));
  const std::vector<std::string> patterns = split_filter(used_filter);
  const std::vector<const char*> pattern_texts = c_texts(patterns);
  con.flush();
  const char* answer = show(static_cast<int>(patterns.size()),
                            pattern_texts.empty() ? nullptr : pattern_texts.data());
  if (!chosen(answer)) {
    no_file_box(con);
    return std::nullopt;
  }
  return std::string(answer);
}

}  // namespace

namespace {

// A description names the patterns in the dialog's list of file types; without one, the
// patterns name themselves.
const char* description(const std::string& desc) {
  return desc.empty() ? nullptr : desc.c_str();
}

}  // namespace

std::optional<std::string> GetFileName(Console& con, std::string_view title, std::string_view path,
                                       std::string_view filter, std::string_view desc, bool multi) {
  const std::string c_title(title), c_path(path), c_desc(desc);
  return file_dialog(con, "GetFileName", path, filter, [&](int count, const char* const* patterns) {
    return tinyfd_openFileDialog(c_title.c_str(), c_path.c_str(), count, patterns,
                                 description(c_desc), multi ? 1 : 0);
  });
}

std::optional<std::string> SaveFileName(Console& con, std::string_view title, std::string_view path,
                                        std::string_view filter, std::string_view desc) {
  const std::string c_title(title), c_path(path), c_desc(desc);
  return file_dialog(con, "SaveFileName", path, filter,
                     [&](int count, const char* const* patterns) {
                       return tinyfd_saveFileDialog(c_title.c_str(), c_path.c_str(), count,
                                                    patterns, description(c_desc));
                     });
}

std::optional<std::string> GetFolder(Console& con, std::string_view title, std::string_view deflt) {
  con.flush();
  const char* answer =
      tinyfd_selectFolderDialog(std::string(title).c_str(), std::string(deflt).c_str());
  if (!chosen(answer)) {
    cancel_box(con, "No folder selected");
    return std::nullopt;
  }
  return std::string(answer);
}

std::optional<std::string> GetString(Console& con, std::string_view title, std::string_view message,
                                     std::string_view deflt) {
  con.flush();
  const char* typed = tinyfd_inputBox(std::string(title).c_str(), std::string(message).c_str(),
                                      std::string(deflt).c_str());
  if (typed == nullptr) return std::nullopt;  // an empty answer is an answer
  return std::string(typed);
}

}  // namespace brevanto
