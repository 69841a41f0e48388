#include "html_escape.hpp"

#include "chars.hpp"

namespace brevanto {

std::string html_escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += platform::is_control_1252(c) ? '?' : c;
    }
  }
  return out;
}

}  // namespace brevanto
