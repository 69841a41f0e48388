// The simulator's folders in the user's documents: the user-files folder of a version and the
// folder of the pilot who used that version last.
#pragma once

#include <string>
#include <string_view>

#include "io.hpp"

namespace brevanto {

// The user-files folder (documents + "\Soarix\" or "\Soarix3\") or, with `qpilot`, the last
// pilot's folder (documents + "\Soarix\Pilots\" or "\Soarix3\Pilots\" + the simulator's
// "LastPlayer", or the documents folder alone when there is none) of one version.
//
// `soarixuserpath` selects the version on entry ("3": version 3, anything else: version 2) and
// receives the folder. The documents folder is the user's shell-folder setting "Personal" with
// an environment variable at its start expanded (`qdocreg`), or the folder given in
// `soarixuserpath` (not `qdocreg`). With `qconfirm` the user confirms or picks the folder in a
// folder dialog titled after `msgpltfldr`.
//
// Returns 1 when a folder was produced. Returns 0 and leaves `soarixuserpath` as it was when the
// documents setting is not readable or empty, when its variable is not defined (told on the
// console), or when the user cancels the pilot's folder dialog. Returns 0 with `soarixuserpath`
// blank when the folder built is blank (a blank documents setting and no last pilot) and no
// folder dialog picks one.
int get_soarix_user_path(Io& io, std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                         bool qdocreg, std::string& soarixuserpath);

// get_soarix_user_path with the documents folder from the registry.
int get_soarix_2_path(Io& io, std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                      std::string& soarixuserpath);

}  // namespace brevanto
