#include "encoding.hpp"

#include <array>
#include <cstdint>
#include <optional>

namespace platform {
namespace {

// Unicode code points of the bytes 0x80..0x9F; the rest of Windows-1252 is Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t to_unicode(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
  return byte;
}

void append_utf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

char from_unicode(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHigh.size(); ++i) {
    if (kHigh[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string cp1252_to_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  while (!text.empty()) {
    // Runs of ASCII, nearly all of a report, go across whole.
    std::size_t ascii = 0;
    while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80)
      ++ascii;
    out.append(text.substr(0, ascii));
    if (ascii == text.size()) break;
    append_utf8(out, to_unicode(static_cast<unsigned char>(text[ascii])));
    text.remove_prefix(ascii + 1);
  }
  return out;
}

std::string utf8_to_cp1252(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    char32_t cp = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      cp = lead & 0x07;
    }
    bool valid = extra > 0 && i + extra < text.size();
    for (std::size_t k = 1; valid && k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + k]);
      if ((cont & 0xC0) != 0x80) valid = false;
      cp = (cp << 6) | (cont & 0x3F);
    }
    if (!valid) {
      out += static_cast<char>(lead);  // ASCII, or not UTF-8: already Windows-1252
      ++i;
    } else {
      out += from_unicode(cp);
      i += extra + 1;
    }
  }
  return out;
}

namespace {

constexpr char kEscape = '\x81';
constexpr std::size_t kEscapeLen = 5;  // 0x81 and four hexadecimal digits
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

// The unit an escape at `at` stands for; none when `at` starts no escape.
std::optional<char16_t> escape_at(std::string_view text, std::size_t at) {
  if (text[at] != kEscape || text.size() - at < kEscapeLen) return std::nullopt;
  unsigned unit = 0;
  for (std::size_t i = at + 1; i < at + kEscapeLen; ++i) {
    const std::size_t digit = kHexDigits.find(text[i]);
    if (digit == std::string_view::npos) return std::nullopt;
    unit = unit * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<char16_t>(unit);
}

bool is_high_surrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low_surrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string escaped_from_utf16(std::u16string_view name) {
  std::string out;
  out.reserve(name.size());
  for (const char16_t unit : name) {
    const char byte = from_unicode(unit);
    // The C1 controls have no Windows-1252 byte: the five that from_unicode gives the
    // undefined bytes (0x81 among them) are escaped too.
    if ((byte != '?' || unit == u'?') && (unit < 0x80 || unit > 0x9F)) {
      out += byte;
      continue;
    }
    out += kEscape;
    for (int shift = 12; shift >= 0; shift -= 4)
      out += kHexDigits[(unit >> shift) & 0xF];
  }
  return out;
}

std::u16string utf16_from_escaped(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::optional<char16_t> unit = escape_at(text, i)) {
      out += *unit;
      i += kEscapeLen;
    } else {
      out += static_cast<char16_t>(to_unicode(static_cast<unsigned char>(text[i])));
      ++i;
    }
  }
  return out;
}

std::string escapes_shown(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::optional<char16_t> unit = escape_at(text, i);
    if (!unit) {
      out += text[i++];
      continue;
    }
    out += '?';
    i += kEscapeLen;
    if (is_high_surrogate(*unit) && i < text.size()) {
      const std::optional<char16_t> low = escape_at(text, i);
      if (low && is_low_surrogate(*low)) i += kEscapeLen;
    }
  }
  return out;
}

char unicode_to_cp1252(char32_t cp) {
  return from_unicode(cp);
}

int utf8_sequence(std::string_view text, char32_t& cp) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  // The range of the byte after the lead, narrower than 80..BF where the shortest form, the
  // surrogates or the end of Unicode would be crossed.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  std::size_t length = 0;
  if (lead < 0x80) {
    cp = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return -1;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (k >= text.size()) return 0;
    const auto next = static_cast<unsigned char>(text[k]);
    if (next < low || next > high) return -1;
    low = 0x80;
    high = 0xBF;
    cp = (cp << 6) | (next & 0x3Fu);
  }
  return static_cast<int>(length);
}

}  // namespace platform
