#include "get_airspace_size.hpp"

#include <limits>

#include "To_GUI.hpp"
#include "fixed_text.hpp"
#include "text_file.hpp"

namespace brevanto {

int get_airspace_size(Io& io, std::string_view aspfile) {
  TextFile file(trim_right(aspfile));
  if (!file.is_open()) {
    std::string msg = escape_slashes(trim_right(aspfile));
    msg += in_language(io.cmn.language, "/Airspace file : error opening",
                       "/Fichier d'espace a\xE9rien : ouverture impossible");
    int severity = s_error;
    error_message(io.con, severity, msg, false);
    return 0;
  }
  int blocks = 0;
  std::string line;
  while (file.read_line(line, kPathLen) == TextFile::Status::ok) {
    // A count past the largest integer stays there: no landscape comes near it.
    if (line.starts_with("AC") && blocks < std::numeric_limits<int>::max()) ++blocks;
  }
  return blocks;
}

}  // namespace brevanto
