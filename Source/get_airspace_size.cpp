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
    msg += io.cmn.qfr ? "/Fichier d'espace a\xE9rien : ouverture impossible"
                      : "/Airspace file : error opening";
    int status = s_error;
    error_message(io.con, status, msg, io.cmn.qline);
    return 0;
  }
  int nb_as = 0;
  std::string ligne;
  while (file.read_line(ligne, kPathLen) == TextFile::Status::ok) {
    // A count past the largest integer stays there: no landscape comes near it.
    if (ligne.starts_with("AC") && nb_as < std::numeric_limits<int>::max()) ++nb_as;
  }
  return nb_as;
}

}  // namespace brevanto
