#pragma once

#include <string_view>

#include "io.hpp"

namespace brevanto {

// The number of airspace blocks of a landscape's airspace file: its lines that begin with "AC".
// A file that cannot be opened is reported to the user (bilingual) and counts 0 blocks.
int get_airspace_size(Io& io, std::string_view aspfile);

}  // namespace brevanto
