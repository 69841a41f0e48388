// The simulator's installations: which major versions (2, 3) are installed for the current user,
// where each one and its user files lie, and which one is active. Nothing is ever written to the
// registry or the installation.
#pragma once

#include <string>
#include <string_view>

#include "io.hpp"

namespace brevanto {

// The installation record, filled once at start. Folder texts keep their content without
// trailing blanks (width 256 each).
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

// The major version that the simulator's log file in the registered folder of version |nc|
// states, or 0. `path` receives the registered folder (blank when the key is not readable).
// nc -2 / -3 answer from the record when its folder is known. A not-detected message is shown
// unless `silent`. Any other selector than -3..3 (not 0) stops the program.
int get_soarix_inst_dir(Io& io, inst00& inst, int nc, std::string& path, bool silent);

// Finds versions 2 and 3 and their folders; returns 0 (none), 2 or 3. With both installed the
// active version stays open (soarix_version 0) until get_active_soarix_version.
int check_soarix_install(Io& io, inst00& inst, std::string_view msgpltfldr);

// Last modification time of a file in seconds since 1970, -1 when it does not exist.
int modified_date(Console& con, std::string_view file);

}  // namespace brevanto
