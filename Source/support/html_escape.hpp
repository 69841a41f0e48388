// Texts from plans and rules in a web page: never markup.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

// A text (Windows-1252) as HTML (and SVG) text or attribute value: "&", "<", ">", '"' and "'"
// escaped; each control character, which HTML does not allow (the C0 controls but the tab, DEL,
// and the C1 controls, the bytes Windows-1252 leaves undefined), becomes "?". Lines to be shown
// apart are escaped apart and joined by a line feed.
std::string html_escape(std::string_view text);

}  // namespace brevanto
