// The registry and the environment on POSIX systems, read from the registry files of the Wine
// prefix: user.reg is the current user's hive, system.reg holds the classes root under
// Software\Classes. The files are read afresh at every call, so that what the simulator wrote
// last is what counts.
//
// Their format: a header line, sections "[Key\\Path] timestamp", "#" and ";" lines, values
// "Name"="text", "Name"=str(2):"text", "Name"=dword:..., "Name"=hex(N):... (continued on the
// next line after a trailing "\"), "@" for the default value. Texts are escaped (\\, \", \n,
// \xHHHH UTF-16 code units, ...). A line that does not parse is skipped, never trusted.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "chars.hpp"
#include "encoding.hpp"
#include "native_files.hpp"
#include "platform.hpp"
#include "wine_prefix.hpp"

namespace platform {
namespace {

// Status codes as Windows gives them.
constexpr int kSuccess = 0;
constexpr int kFileNotFound = 2;
constexpr int kMoreData = 234;

// Key and value names compare as Windows compares them, here for ASCII letters only.
bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ascii_upper(a[i]) != ascii_upper(b[i])) return false;
  }
  return true;
}

int hex_digit(char c) {
  if (is_digit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> read_whole_file(const std::string& path) {
  int error = 0;
  std::FILE* f = open_native_regular_file(path, error);
  if (f == nullptr) return std::nullopt;
  std::string content;
  char buf[65536];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
    content.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return content;
}

// Reads an escaped text from line[pos] up to the unescaped `close`, leaving pos after it, and
// gives it as Windows-1252 bytes. Literal bytes are taken as UTF-8 (Wine writes only ASCII, but
// a hand-edited file may hold anything). False when the text is not closed on this line.
bool read_escaped(std::string_view line, std::size_t& pos, char close, std::string& out) {
  out.clear();
  std::string literal;
  auto flush = [&] {
    out += utf8_to_cp1252(literal);
    literal.clear();
  };
  auto unit = [&](unsigned value) {
    flush();
    out += utf16_to_cp1252(static_cast<char16_t>(value));
  };
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == close) {
      flush();
      return true;
    }
    if (c != '\\') {
      literal += c;
      continue;
    }
    if (pos >= line.size()) return false;
    const char e = line[pos++];
    switch (e) {
      case 'n':
        literal += '\n';
        break;
      case 'r':
        literal += '\r';
        break;
      case 't':
        literal += '\t';
        break;
      case 'a':
        literal += '\a';
        break;
      case 'b':
        literal += '\b';
        break;
      case 'f':
        literal += '\f';
        break;
      case 'v':
        literal += '\v';
        break;
      case 'e':
        literal += '\x1B';
        break;
      case 'x': {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && hex_digit(line[pos]) >= 0) {
          value = value * 16 + static_cast<unsigned>(hex_digit(line[pos++]));
          ++digits;
        }
        if (digits == 0) {
          literal += 'x';
        } else {
          unit(value);
        }
        break;
      }
      default:
        if (e >= '0' && e <= '7') {  // up to three octal digits; "\0" is a NUL
          unsigned value = static_cast<unsigned>(e - '0');
          for (int digits = 1;
               digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits) {
            value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
          }
          unit(value);
        } else {
          literal += e;  // \\, \", \[, \] and any other character stand for themselves
        }
        break;
    }
  }
  return false;
}

enum class LineKind { section, value, skipped };

struct ParsedLine {
  LineKind kind = LineKind::skipped;
  std::string name;        // the key path of a section, the value name of a value ("" for "@")
  bool is_text = false;    // a string value (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ)
  std::string text;        // its content, Windows-1252
  bool continued = false;  // a binary value that goes on on the next line
};

std::string_view skip_blanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  return s;
}

// The data after "=" of a value line.
bool parse_data(std::string_view data, ParsedLine& out) {
  data = skip_blanks(data);
  if (data.starts_with("str(")) {
    const std::size_t close = data.find("):");
    if (close == std::string_view::npos || close == 4) return false;
    unsigned type = 0;
    for (char c : data.substr(4, close - 4)) {
      if (hex_digit(c) < 0 || type > 0xFFFFFF) return false;
      type = type * 16 + static_cast<unsigned>(hex_digit(c));
    }
    data.remove_prefix(close + 2);
    std::size_t pos = 1;
    if (data.empty() || data.front() != '"' || !read_escaped(data, pos, '"', out.text)) {
      return false;
    }
    out.is_text = type == 1 || type == 2 || type == 7;
    return true;
  }
  if (data.starts_with("\"")) {
    std::size_t pos = 1;
    if (!read_escaped(data, pos, '"', out.text)) return false;
    out.is_text = true;
    return true;
  }
  if (data.starts_with("dword:") || data.starts_with("hex")) {
    out.continued = !data.empty() && data.back() == '\\';
    return true;
  }
  return false;
}

ParsedLine parse_line(std::string_view line) {
  ParsedLine out;
  if (line.empty()) return out;
  std::size_t pos = 1;
  if (line.front() == '[') {
    if (read_escaped(line, pos, ']', out.name)) out.kind = LineKind::section;
    return out;
  }
  if (line.front() == '@') {
    out.name.clear();
  } else if (line.front() != '"' || !read_escaped(line, pos, '"', out.name)) {
    return out;
  }
  std::string_view rest = skip_blanks(line.substr(pos));
  if (rest.empty() || rest.front() != '=') return out;
  if (parse_data(rest.substr(1), out)) out.kind = LineKind::value;
  return out;
}

struct Lookup {
  bool key_found = false;
  bool value_found = false;
  bool is_text = false;
  std::string text;
};

// Looks for the value `name` of the key `key` (a path with "\" separators, no trailing "\").
// A key exists when it has a section of its own or is the parent of one.
Lookup find_value(std::string_view content, std::string_view key, std::string_view name) {
  Lookup found;
  if (key.empty()) found.key_found = true;  // the root of the hive
  bool in_key = false;
  bool continuing = false;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (continuing) {  // hex digits of a binary value
      continuing = !line.empty() && line.back() == '\\';
      continue;
    }
    const ParsedLine parsed = parse_line(line);
    if (parsed.kind == LineKind::section) {
      in_key = same_name(parsed.name, key);
      if (in_key || (parsed.name.size() > key.size() && parsed.name[key.size()] == '\\' &&
                     same_name(std::string_view(parsed.name).substr(0, key.size()), key))) {
        found.key_found = true;
      }
    } else if (!line.empty() && line.front() == '[') {
      in_key = false;  // a damaged section line: its values belong to no known key
    } else if (parsed.kind == LineKind::value) {
      continuing = parsed.continued;
      if (in_key && same_name(parsed.name, name)) {
        found.value_found = true;
        found.is_text = parsed.is_text;
        found.text = parsed.is_text ? parsed.text : std::string();
      }
    }
  }
  return found;
}

std::string_view up_to_nul(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

}  // namespace

RegistryRead read_registry_string(RegistryRoot root, std::string_view subkey, std::string_view name,
                                  int buffer_size) {
  RegistryRead result;
  subkey = up_to_nul(subkey);
  name = up_to_nul(name);
  if (!subkey.empty() && subkey.back() == '\\') subkey.remove_suffix(1);
  std::string key(subkey);
  std::string file = wine_prefix();
  if (root == RegistryRoot::classes_root) {
    file += "/system.reg";
    key = key.empty() ? std::string("Software\\Classes") : "Software\\Classes\\" + key;
  } else {
    file += "/user.reg";
  }
  const std::optional<std::string> content = read_whole_file(file);
  const Lookup found = content ? find_value(*content, key, name) : Lookup{};
  if (!content || !found.key_found) {
    result.open_status = kFileNotFound;
    return result;
  }
  result.open_status = kSuccess;
  result.close_status = kSuccess;
  if (!found.value_found || !found.is_text) {
    result.query_status = kFileNotFound;
    result.size = buffer_size;  // left as it was passed
    return result;
  }
  // The ANSI query returns one byte per UTF-16 code unit and the terminating NUL.
  result.size = static_cast<int>(found.text.size()) + 1;
  if (result.size > buffer_size) {
    result.query_status = kMoreData;
    return result;
  }
  result.query_status = kSuccess;
  result.value = found.text;
  return result;
}

std::optional<std::string> environment_variable(std::string_view name) {
  name = up_to_nul(name);
  if (name.empty() || name.find('=') != std::string_view::npos) return std::nullopt;
  const std::string variable(name);
  if (const char* value = std::getenv(variable.c_str())) return utf8_to_cp1252(value);
  // Wine keeps the user's Windows variables (USERPROFILE, HOMEPATH, ...) in the user's hive.
  const std::optional<std::string> content = read_whole_file(wine_prefix() + "/user.reg");
  if (!content) return std::nullopt;
  for (const char* section : {"Volatile Environment", "Environment"}) {
    const Lookup found = find_value(*content, section, name);
    if (found.value_found && found.is_text) return found.text;
  }
  return std::nullopt;
}

}  // namespace platform
