#include "html_escape.hpp"

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
      default: {
        const auto b = static_cast<unsigned char>(c);
        const bool control = (b < 0x20 && b != '\t') || b == 0x7F || b == 0x81 || b == 0x8D ||
                             b == 0x8F || b == 0x90 || b == 0x9D;
        out += control ? '?' : c;
      }
    }
  }
  return out;
}

}  // namespace brevanto
