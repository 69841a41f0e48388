#pragma once

#include <string_view>

#include "console.hpp"

namespace brevanto {

// Shows a message box for the severity `status` (s_info .. s_yesnocancel; any other value shows
// nothing). For the question severities `status` receives the answer. Standard output is flushed
// first, so the console shows everything written before the box.
void DisplayMessage(Console& con, std::string_view title, std::string_view message, int& status);

}  // namespace brevanto
