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

// The Windows-1252 byte of a Unicode character (or of one UTF-16 code unit), "?" when there is
// none, as Windows' ANSI calls.
char unicode_to_cp1252(char32_t cp);

// The UTF-8 sequence at the start of `text`, strictly as RFC 3629 has it (no overlong form, no
// surrogate, nothing beyond U+10FFFF): its length, 1 to 4, with its character in `cp`; 0 when
// `text` ends inside a sequence that is well formed so far (or is empty); -1 when it starts with
// no well-formed sequence.
int utf8_sequence(std::string_view text, char32_t& cp);

// ---- Names of files in the program's texts ----------------------------------------------
//
// Windows names files in UTF-16; a pilot's plan may be named in Polish or in Japanese, which
// Windows-1252 cannot spell. Such a name travels through the program's texts whole: each UTF-16
// unit that has no Windows-1252 byte (the C1 controls included) is written as the byte 0x81,
// undefined in Windows-1252, and its four hexadecimal digits in upper case. No Windows-1252 text
// holds such an escape, so the name comes back unchanged; messages show each character as "?".

// The program's text of a UTF-16 name: Windows-1252 bytes, and the escapes.
std::string escaped_from_utf16(std::u16string_view name);

// The UTF-16 name of a program text: its escapes as the units they stand for, every other byte
// as its Windows-1252 character (the undefined bytes as the C1 controls of the same value).
std::u16string utf16_from_escaped(std::string_view text);

// A program text as messages show it, in Windows-1252: each escaped character is "?" (a
// character beyond UTF-16's first plane, escaped as two units, is one "?").
std::string escapes_shown(std::string_view text);

}  // namespace platform
