// Texts from plans and rules in a web page: never markup.
#pragma once

#include <string>
#include <string_view>

namespace brevanto {

// A text as HTML (and SVG) text or attribute value: "&", "<", ">", '"' and "'" escaped.
std::string html_escape(std::string_view text);

}  // namespace brevanto
