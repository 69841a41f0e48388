#include "settings.hpp"

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

// The setting a yes/no key of the settings file sets; none for any other key.
bool* yes_no_setting(RunSettings& s, std::string_view key) {
  if (key == "verbose") return &s.qverb;
  if (key == "ask") return &s.qask;
  if (key == "OKlines") return &s.qoklines;
  if (key == "Unused") return &s.qunused;
  if (key == "Missing") return &s.qmissing;
  if (key == "KeepGoing") return &s.qkeepgoing;
  return nullptr;
}

}  // namespace

RunSettings rd_ini(std::string_view argv0, RunSettings s) {
  const std::string file_name = settings_file_name(argv0);
  TextFile file(file_name);
  if (!file.is_open()) return s;
  std::string line, key, val;
  while (file.read_line(line, kPathLen) == TextFile::Status::ok) {
    if (trim_right(line).empty() || line[0] == '#') continue;
    extract_key_val(line, key, val, kPathLen);
    if (val.empty()) continue;
    if (bool* flag = yes_no_setting(s, key)) {
      *flag = is_true(val);
    } else if (key == "Version") {
      const auto v = read_int(val);
      s.nversini = v.value_or(0);
      if (!v) return s;
    } else if (key == "Popup") {
      const auto v = read_int(val);
      s.npopup = v.value_or(0);
      if (!v) return s;
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
