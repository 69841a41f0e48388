// Windows-1252, the program's text encoding, and its conversions to and from Unicode.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// UTF-8 text of Windows-1252 bytes. The five bytes that Windows-1252 leaves undefined map to the
// C1 controls of the same value, so no byte is lost.
std::string cp1252_to_utf8(std::string_view text);

// Windows-1252 bytes of a UTF-8 text; a character without a Windows-1252 byte becomes "?".
// Bytes that are not valid UTF-8 are taken as Windows-1252 already and kept.
std::string utf8_to_cp1252(std::string_view text);

// The Windows-1252 byte of one UTF-16 code unit, "?" when there is none (as Windows' ANSI calls).
char utf16_to_cp1252(char16_t unit);

}  // namespace platform
