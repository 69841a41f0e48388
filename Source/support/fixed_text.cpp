#include "fixed_text.hpp"

#include "platform.hpp"

namespace brevanto {

std::string fit(std::string_view text, std::size_t width) {
  return std::string(trim_right(text.substr(0, width)));
}

void fit_into(std::string& field, std::string_view text, std::size_t width) {
  const std::string_view kept = trim_right(text.substr(0, width));
  field.assign(kept.data(), kept.size());
}

int padded_compare(std::string_view a, std::string_view b) {
  const std::size_t n = a.size() > b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto ca = static_cast<unsigned char>(i < a.size() ? a[i] : ' ');
    const auto cb = static_cast<unsigned char>(i < b.size() ? b[i] : ' ');
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return 0;
}

bool padded_equal(std::string_view a, std::string_view b) {
  return trim_right(a) == trim_right(b);
}

std::string escape_slashes(std::string_view path) {
  std::string out;
  out.reserve(path.size() + 8);
  for (char c : path) {
    if (c == '/') out += '\\';
    out += c;
  }
  return out;
}

std::string slashes_to_lines(std::string_view message) {
  // One pass: a path of many folders makes a message of many slashes.
  std::string lines;
  lines.reserve(message.size());
  for (std::size_t i = 0; i < message.size(); ++i) {
    if (message[i] == '\\' && i + 1 < message.size() && message[i + 1] == '/') {
      lines += '/';  // "\/": the slash stays, as a slash
      ++i;
    } else {
      lines += message[i] == '/' ? '\n' : message[i];
    }
  }
  return lines;
}

std::size_t last_folder_separator(std::string_view path) {
  return platform::slash_is_separator() ? path.find_last_of("\\/") : path.find_last_of('\\');
}

}  // namespace brevanto
