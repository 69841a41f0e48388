#include "get_soarix_inst_dir.hpp"

#include <optional>

#include "RdUsrReg.hpp"
#include "To_GUI.hpp"
#include "fixed_text.hpp"
#include "get_airspace_size.hpp"
#include "get_soarix_2_path.hpp"
#include "number_read.hpp"
#include "platform.hpp"
#include "strcpy_c2f.hpp"
#include "text_file.hpp"

namespace brevanto {

namespace {

// The simulator writes its version near the top of its log: "Soarix version: 3012".
constexpr std::string_view kVersionTag = "Soarix version:";
constexpr int kVersionLines = 6;

// The major version that the first lines of the log state; 0 without a version line, with a
// version that is not an integer, or when the log cannot be read.
int log_version(std::string_view logfile) {
  TextFile file(logfile);
  if (!file.is_open()) return 0;
  std::string line;
  for (int i = 0; i < kVersionLines && file.read_line(line, kLineLen) == TextFile::Status::ok;
       ++i) {
    if (line.starts_with(kVersionTag)) {
      const std::optional<std::int32_t> number = read_int(line.substr(kVersionTag.size()));
      return number ? *number / 1000 : 0;
    }
  }
  return 0;
}

}  // namespace

int get_soarix_inst_dir(Io& io, inst00& inst, int nc, std::string& path, bool silent) {
  // The airspace count asks again for every version-3 plan: the record answers once it knows.
  if (nc == -2 && !trim_right(inst.instpath2).empty()) {
    path = trim_right(inst.instpath2);
    return 2;
  }
  if (nc == -3 && !trim_right(inst.instpath3).empty()) {
    path = trim_right(inst.instpath3);
    return 3;
  }
  std::string_view subkey;
  char digit = ' ';
  switch (nc < 0 ? -static_cast<long long>(nc) : nc) {
    case 1:
      subkey = "SOFTWARE\\Soarix\\";
      digit = '1';
      break;
    case 2:
      subkey = "SOFTWARE\\Soarix2\\";
      digit = '2';
      break;
    case 3:
      subkey = "SOFTWARE\\Soarix3\\";
      digit = '3';
      break;
    default: {
      io.con.trace(nc);
      std::string msg = "get_soarix_inst_dir : incorrect Soarix version";
      int severity = s_error;
      error_message(io.con, severity, msg, false);
      return kBadSelector;
    }
  }

  std::string value;
  int len = 0;
  const int status = RdUsrReg(io.con, subkey, "InstallDir", value, len);
  if (status != 0) {
    io.con.trace(status);
    path.clear();
    if (silent) return 0;
    // On the console: a machine with one version would otherwise meet a box at every start.
    std::string msg =
        std::string("*** Soarix") + digit + " installation not detected on this computer ***";
    int severity = s_info;
    error_message(io.con, severity, msg, true);
    return 0;
  }
  strcpy_c2f(value, path, len, kPathLen);
  // The folder as registered, trailing blanks included, then the log below it; never cut, as a
  // cut name would be another file.
  const std::string logfile =
      value.substr(0, static_cast<std::size_t>(len)) + "\\Logs\\Logfile.txt";
  io.con.trace(trim_right(path));
  io.con.trace(trim_right(logfile));
  const int version = log_version(trim_right(logfile));
  io.con.trace(version);
  return version;
}

int landscape_airspace_count(Io& io, inst00& inst, std::string_view landscape,
                             AirspaceCounts* known) {
  get_soarix_inst_dir(io, inst, -3, inst.instpath3, true);
  const std::string path = std::string(trim_right(inst.instpath3)) + "\\Landscapes\\" +
                           std::string(landscape) + "\\" + std::string(landscape) + ".air";
  io.con.trace(path);
  if (known == nullptr) return get_airspace_size(io, path);
  if (const auto at = known->find(path); at != known->end()) return at->second;
  const int count = get_airspace_size(io, path);
  if (count > 0) known->emplace(path, count);
  return count;
}

int check_soarix_install(Io& io, inst00& inst, std::string_view msgpltfldr) {
  // A version counts when its log states it and its executable is there.
  inst.qs2 = get_soarix_inst_dir(io, inst, 2, inst.instpath2, false) == 2;
  if (inst.qs2)
    inst.qs2 = platform::file_exists(std::string(trim_right(inst.instpath2)) + "\\Soarix.exe");
  inst.qs3 = get_soarix_inst_dir(io, inst, 3, inst.instpath3, false) == 3;
  if (inst.qs3)
    inst.qs3 = platform::file_exists(std::string(trim_right(inst.instpath3)) + "\\Soarix.exe");

  if (inst.qs2) {
    std::string line = "Soarix 2 install path: " + escape_slashes(trim_right(inst.instpath2));
    log_line(io.journal, line);
    inst.pilpath2 = get_soarix_2_path(io, 2, msgpltfldr, false, true).value_or("");
    inst.rootpath2 = get_soarix_2_path(io, 2, msgpltfldr, false, false).value_or("");
  }
  if (inst.qs3) {
    std::string line = "Soarix 3 install path: " + escape_slashes(trim_right(inst.instpath3));
    log_line(io.journal, line);
    // A folder not found is written "3": the record's mark of a version-3 folder still unknown.
    inst.pilpath3 = get_soarix_2_path(io, 3, msgpltfldr, false, true).value_or("3");
    inst.rootpath3 = get_soarix_2_path(io, 3, msgpltfldr, false, false).value_or("3");
  }

  if (inst.qs3) {
    inst.sorxinstpath = inst.instpath3;
    inst.sorxrootpath = inst.rootpath3;
    inst.sorxpilpath = inst.pilpath3;
    inst.soarix_version = inst.qs2 ? 0 : 3;  // with both, the file dates decide later
    return 3;
  }
  if (inst.qs2) {
    inst.sorxinstpath = inst.instpath2;
    inst.sorxrootpath = inst.rootpath2;
    inst.sorxpilpath = inst.pilpath2;
    inst.soarix_version = 2;
    return 2;
  }
  return 0;
}

std::int64_t modified_date(Console& con, std::string_view file) {
  const std::optional<std::int64_t> time = platform::modification_time(trim_right(file));
  if (!time) return -1;
  con.trace(*time);
  return *time;
}

}  // namespace brevanto
