// The simulator's folders in the user's documents: the user-files folder of a version and the
// folder of the pilot who used that version last.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "io.hpp"

namespace brevanto {

// The user-files folder (documents + "\Soarix\" or "\Soarix3\") or, with `qpilot`, the last
// pilot's folder (documents + "\Soarix\Pilots\" or "\Soarix3\Pilots\" + the simulator's
// "LastPlayer", or the documents folder alone when there is none) of the major version `version`
// (3: version 3, any other: version 2).
//
// The documents folder is `documents` when given, else the user's shell-folder setting "Personal"
// with an environment variable at its start expanded. With `qconfirm` the user confirms or picks
// the folder in a folder dialog titled after `msgpltfldr`.
//
// Returns the folder. The folder is blank when the one built is blank (a blank documents setting
// and no last pilot) and no folder dialog picks one. Returns none when the documents setting is
// not readable or empty, when its variable is not defined (told on the console), when the given
// documents folder is blank, or when the user cancels the pilot's folder dialog.
std::optional<std::string> get_soarix_user_path(
    Io& io, int version, std::string_view msgpltfldr, bool qconfirm, bool qpilot,
    std::optional<std::string_view> documents = std::nullopt);

// get_soarix_user_path with the documents folder from the registry.
std::optional<std::string> get_soarix_2_path(Io& io, int version, std::string_view msgpltfldr,
                                             bool qconfirm, bool qpilot);

}  // namespace brevanto
