#include "settings.hpp"

#include "extract_key_val.hpp"
#include "fixed_text.hpp"
#include "is_true.hpp"
#include "number_read.hpp"
#include "text_file.hpp"

namespace brevanto {

namespace {

// The settings file of a program file: beside it, or in the current folder for a bare name
// (or one whose only separator is its first character).
std::string settings_file_name(std::string_view argv0) {
  const std::string_view name = trim_right(argv0);
  const std::size_t cut = last_folder_separator(name);
  if (cut == std::string_view::npos || cut == 0) return "Brevanto.ini";
  return std::string(name.substr(0, cut + 1)) + "Brevanto.ini";
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
    if (key == "Version") {
      const auto v = read_int(val);
      s.nversini = v.value_or(0);
      if (!v) return s;
    } else if (key == "verbose") {
      s.qverb = is_true(val);
    } else if (key == "ask") {
      s.qask = is_true(val);
    } else if (key == "Popup") {
      const auto v = read_int(val);
      s.npopup = v.value_or(0);
      if (!v) return s;
    } else if (key == "OKlines") {
      s.qoklines = is_true(val);
    } else if (key == "Unused") {
      s.qunused = is_true(val);
    } else if (key == "Missing") {
      s.qmissing = is_true(val);
    } else if (key == "KeepGoing") {
      s.qkeepgoing = is_true(val);
    } else if (key == "FltPntAcy") {
      const auto v = read_real(val);
      s.fltpntacy = v.value_or(1.0e-6f);
      if (!v) return s;
    }
  }
  return s;
}

}  // namespace brevanto
