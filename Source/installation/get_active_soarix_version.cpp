#include "get_active_soarix_version.hpp"

#include <array>
#include <cstdint>

#include "fixed_text.hpp"

namespace brevanto {

namespace {

void activate(inst00& inst, int version) {
  if (version == 2) {
    inst.sorxinstpath = inst.instpath2;
    inst.sorxrootpath = inst.rootpath2;
    inst.sorxpilpath = inst.pilpath2;
  } else {
    inst.sorxinstpath = inst.instpath3;
    inst.sorxrootpath = inst.rootpath3;
    inst.sorxpilpath = inst.pilpath3;
  }
}

std::string in_folder(std::string_view folder, std::string_view file) {
  return std::string(trim_right(folder)) + std::string(file);
}

// The version whose file the simulator wrote last. The candidates are examined in this order
// and only a strictly newer date takes over, which settles the ties.
int newest_version(Console& con, const inst00& inst) {
  const std::int64_t plan2 = modified_date(con, in_folder(inst.pilpath2, "\\FlightPlan.fpl"));
  const std::int64_t plan3 = modified_date(con, in_folder(inst.pilpath3, "\\FlightPlan.fpl"));
  const std::int64_t log2 = modified_date(con, in_folder(inst.instpath2, "\\Logs\\Logfile.txt"));
  const std::int64_t log3 = modified_date(con, in_folder(inst.instpath3, "\\Logs\\Logfile.txt"));
  const std::array<std::pair<std::int64_t, int>, 4> candidates = {
      {{plan3, 3}, {plan2, 2}, {log3, 3}, {log2, 2}}};
  std::int64_t newest_date = 0;
  int newest = 0;
  for (const auto& [date, version] : candidates) {
    if (date > newest_date) {
      newest_date = date;
      newest = version;
    }
  }
  return newest == 3 ? 3 : 2;
}

}  // namespace

void get_active_soarix_version(Io& io, inst00& inst) {
  if (!inst.qs2 && !inst.qs3) check_soarix_install(io, inst, " ");
  io.con.trace("get_active_soarix_version");
  io.con.trace();

  if (inst.qs2 && inst.qs3) {
    inst.soarix_version = newest_version(io.con, inst);
  } else if (inst.qs2) {
    inst.soarix_version = 2;
  } else if (inst.qs3) {
    inst.soarix_version = 3;
  }
  // With no version found the record's choice stands.
  activate(inst, inst.soarix_version == 2 ? 2 : 3);
  io.con.trace(inst.soarix_version, trim_right(inst.sorxinstpath), " ",
               trim_right(inst.sorxpilpath));
}

}  // namespace brevanto
