#include "settings.hpp"

#include <algorithm>
#include <iterator>
#include <optional>

#include "extract_key_val.hpp"
#include "fixed_text.hpp"
#include "is_true.hpp"
#include "number_read.hpp"
#include "text_file.hpp"

namespace brevanto {

// A bare name, or one whose only separator is its first character, is in the current folder.
std::string settings_file_name(std::string_view argv0) {
  const std::string_view name = trim_right(argv0);
  const std::size_t cut = last_folder_separator(name);
  if (cut == std::string_view::npos || cut == 0) return "Brevanto.ini";
  return std::string(name.substr(0, cut + 1)) + "Brevanto.ini";
}

namespace {

// The settings that are yes or no.
struct YesNoKey {
  std::string_view key;
  bool RunSettings::*field;
};
constexpr YesNoKey kYesNoKeys[] = {
    {"verbose", &RunSettings::qverb},    {"ask", &RunSettings::qask},
    {"OKlines", &RunSettings::qoklines}, {"Unused", &RunSettings::qunused},
    {"Missing", &RunSettings::qmissing}, {"KeepGoing", &RunSettings::qkeepgoing},
    {"Quiet", &RunSettings::qquiet}};

// The longest path Windows opens; a longer rules file name names no file.
constexpr std::size_t kLongestPath = 32767;

// The value of the settings line `line` that read_line_start() may have cut, with the rest of
// the line read from `file`; nothing when the line is longer than any path.
std::optional<std::string> whole_value(std::string_view line, TextFile& file) {
  std::size_t split = line.find('=');
  if (split == std::string_view::npos) split = line.find(':');
  std::string value(trim_left(line.substr(split + 1)));
  std::string piece;
  while (file.read_more(piece, kPathLen)) {
    value += piece;
    if (value.size() > kLongestPath) return std::nullopt;
  }
  return std::string(trim_right(value));
}

}  // namespace

RunSettings rd_ini(std::string_view argv0, RunSettings s) {
  const std::string file_name = settings_file_name(argv0);
  TextFile file(file_name);
  if (!file.is_open()) return s;
  std::string line, key, val;
  while (file.read_line_start(line, kPathLen) == TextFile::Status::ok) {
    if (trim_right(line).empty() || line[0] == '#') continue;
    extract_key_val(line, key, val, kPathLen);
    if (val.empty()) continue;
    const auto* const flag = std::find_if(std::begin(kYesNoKeys), std::end(kYesNoKeys),
                                          [&key](const YesNoKey& k) { return k.key == key; });
    if (flag != std::end(kYesNoKeys)) {
      s.*(flag->field) = is_true(val);
    } else if (key == "Version") {
      const auto v = read_int(val);
      s.nversini = v.value_or(0);
      if (!v) return s;
    } else if (key == "Popup") {
      const auto v = read_int(val);
      s.npopup = v.value_or(0);
      if (!v) return s;
    } else if (key == "Rules") {
      // A name cut at the line's width would name another file.
      if (const std::optional<std::string> name = whole_value(line, file)) s.rules_file = *name;
    } else if (key == "CsvSeparator") {
      if (val == "," || val == ";") s.csv_separator = val[0];
    } else if (key == "FltPntAcy") {
      const auto v = read_real(val);
      s.fltpntacy = v.value_or(1.0e-6f);
      if (!v) return s;
    }
  }
  return s;
}

}  // namespace brevanto
