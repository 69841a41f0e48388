// The simulator's installations: which major versions (2, 3) are installed for the current user,
// where each one and its user files lie, and which one is active. Nothing is ever written to the
// registry or the installation.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "io.hpp"

namespace brevanto {

// The installation record, filled once at start. Folder texts keep their content without
// trailing blanks (width 256 each). A user-files or pilot folder that was not found is blank for
// version 2 and "3" for version 3.
struct inst00 {
  std::string soarix_1_path;  // declared for version 1; unused
  std::string sorxpilpath;    // pilot folder of the active version (also pilot_path)
  std::string instpath1;      // declared for version 1; unused
  std::string instpath2;      // installation folder of version 2, as registered
  std::string instpath3;      // installation folder of version 3, as registered
  std::string rootpath2;      // user-files folder of version 2, ending with "\"
  std::string rootpath3;      // user-files folder of version 3, ending with "\"
  std::string pilpath2;       // last pilot's folder of version 2, no trailing "\"
  std::string pilpath3;       // last pilot's folder of version 3
  std::string sorxinstpath;   // installation folder of the active version
  std::string sorxrootpath;   // user-files folder of the active version, ending with "\"
  int isorx = 0;              // unused
  int soarix_version = 0;     // active version, 2 or 3; 0 while the choice is open (also sorxvers)
  bool qs1 = false;           // version 1 found; never set
  bool qs2 = false;           // version 2 found
  bool qs3 = false;           // version 3 found

  std::string& pilot_path() { return sorxpilpath; }
  int& sorxvers() { return soarix_version; }
};

// The major version that the simulator's log file (Logs\Logfile.txt in the folder registered
// for version |nc|) states on one of its first 6 lines, or 0: no readable key, no log file, no
// version line. `path` receives the registered folder (empty when the key is not readable).
// nc -2 / -3 answer from the record, without the registry, while its folder is known. A key
// that is not readable is told on the console unless `silent`. Any selector other than 1, 2, 3
// and their negatives is shown as an error and gives kBadSelector.
inline constexpr int kBadSelector = -1;
int get_soarix_inst_dir(Io& io, inst00& inst, int nc, std::string& path, bool silent);

// Airspace counts already read in this run, by airspace file. A landscape's airspace file belongs
// to the installation and does not change while a run checks plans: each is read once.
using AirspaceCounts = std::map<std::string, int, std::less<>>;

// The number of airspace blocks of `landscape` in the version-3 installation (the record's
// folder once known, else the registered one, written into the record), after a trace line
// with the airspace file's path. With `known`, a count found there is taken without reading
// the file, and a file read with blocks in it is added there; a file that cannot be opened is
// not, so that each plan that names it says so.
int landscape_airspace_count(Io& io, inst00& inst, std::string_view landscape,
                             AirspaceCounts* known = nullptr);

// Finds versions 2 and 3 (a registered folder whose log states that version and which holds
// Soarix.exe) and their user-files and pilot folders; returns 0 (none), 2 or 3 (version 3 found,
// alone or beside version 2). With both installed the active version stays open
// (soarix_version 0) until get_active_soarix_version; with none the active fields are left as
// they were. `msgpltfldr` prefixes the titles of folder dialogs.
int check_soarix_install(Io& io, inst00& inst, std::string_view msgpltfldr);

// Last modification time of a file in seconds since 1970 (written as a trace line), -1 when it
// does not exist. Trailing blanks are not part of the name.
std::int64_t modified_date(Console& con, std::string_view file);

}  // namespace brevanto
