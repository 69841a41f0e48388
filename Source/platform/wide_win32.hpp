// The UTF-16 texts of the Windows calls, to and from the program's texts, whose names keep the
// characters Windows-1252 cannot spell as escapes (encoding.hpp).
#pragma once

#include <string>
#include <string_view>

#include "encoding.hpp"

namespace platform {

inline std::wstring wide(std::string_view text) {
  const std::u16string units = utf16_from_escaped(text);
  return {units.begin(), units.end()};
}

inline std::string from_wide(std::wstring_view text) {
  return escaped_from_utf16(std::u16string(text.begin(), text.end()));
}

}  // namespace platform
