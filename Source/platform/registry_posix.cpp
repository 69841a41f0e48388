// The registry and the environment on POSIX systems, read from the registry files of the Wine
// prefix: user.reg is the current user's hive, system.reg holds the classes root under
// Software\Classes. The files are read afresh at every call, so that what the simulator wrote
// last is what counts.
//
// Their format: a header line, sections "[Key\\Path] timestamp", "#" and ";" lines, values
// "Name"="text", "Name"=str(2):"text", "Name"=dword:..., "Name"=hex(N):... (continued on the
// next line after a trailing "\"), "@" for the default value. Texts are escaped (\\, \", \n,
// \xHHHH UTF-16 code units, ...). A line that does not parse is skipped, never trusted.
//
// The files are read line by line and only the start of a line is kept, so that a damaged or
// hostile file costs no more memory than a sound one.
#include <cstdio>
#include <cstdlib>
#include <memory>
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

// What is kept of a line: far more than any text a value can usefully hold (Windows keeps an
// environment variable within 32767 characters, the program's registry buffers within 255), so
// that a text value cut here is too long in any case.
constexpr std::size_t kLineKept = std::size_t{256} * 1024;

// One line of a registry file without its line end: its first kLineKept bytes, whether it went
// on beyond them, and its last byte (a "\" there continues a binary value on the next line).
struct RegLine {
  std::string text;
  bool cut = false;
  char last = '\0';
};

// The lines of a registry file. A line ends at a line feed, at a run of carriage returns followed
// by a line feed, or at a carriage return that no line feed follows (each such return ends a line
// of its own); no line keeps a carriage return. A UTF-8 byte-order mark at the start is dropped.
class LineReader {
 public:
  explicit LineReader(std::FILE* file) : file_(file) {
    char mark[3] = {};
    if (std::fread(mark, 1, sizeof mark, file_) != sizeof mark ||
        std::string_view(mark, sizeof mark) != "\xEF\xBB\xBF") {
      std::fseek(file_, 0, SEEK_SET);  // no mark: from the first byte (the file is regular)
    }
  }

  // The next line; false at the end of the file or when the read fails (ferror() tells which).
  bool next(RegLine& line) {
    line.text.clear();
    line.cut = false;
    line.last = '\0';
    if (empty_lines_ > 0) {
      --empty_lines_;
      return true;
    }
    int c = std::getc(file_);
    if (c == EOF) return false;
    std::size_t length = 0;
    for (; c != EOF && c != '\n' && c != '\r'; c = std::getc(file_)) {
      if (line.text.size() < kLineKept) line.text += static_cast<char>(c);
      line.last = static_cast<char>(c);
      ++length;
    }
    if (c == '\r') {
      std::size_t returns = 1;
      while ((c = std::getc(file_)) == '\r')
        ++returns;
      if (c != '\n') {
        if (c != EOF) std::ungetc(c, file_);
        empty_lines_ = returns - 1;
      }
    }
    line.cut = length > line.text.size();
    return true;
  }

 private:
  std::FILE* file_;
  std::size_t empty_lines_ = 0;  // lines ended by lone carriage returns, not handed out yet
};

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
    out += unicode_to_cp1252(static_cast<char16_t>(value));
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
  bool too_long = false;   // a text that runs past what is kept of its line: `text` is its start
  bool continued = false;  // a binary value that goes on on the next line
};

std::string_view skip_blanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  return s;
}

// The data after "=" of a value line (`line` as read).
bool parse_data(std::string_view data, const RegLine& line, ParsedLine& out) {
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
    if (data.empty() || data.front() != '"') return false;
    out.too_long = !read_escaped(data, pos, '"', out.text);
    if (out.too_long && !line.cut) return false;
    out.is_text = type == 1 || type == 2 || type == 7;
    return true;
  }
  if (data.starts_with("\"")) {
    std::size_t pos = 1;
    out.too_long = !read_escaped(data, pos, '"', out.text);
    if (out.too_long && !line.cut) return false;
    out.is_text = true;
    return true;
  }
  if (data.starts_with("dword:") || data.starts_with("hex")) {
    out.continued = line.last == '\\';
    return true;
  }
  return false;
}

ParsedLine parse_line(const RegLine& read) {
  ParsedLine out;
  const std::string_view line = read.text;
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
  if (parse_data(rest.substr(1), read, out)) out.kind = LineKind::value;
  return out;
}

struct Lookup {
  bool key_found = false;
  bool value_found = false;
  bool is_text = false;
  bool too_long = false;  // a text longer than what is kept of a line
  std::string text;
};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Looks in the registry file `path` for the value `name` of the key `key` (a path with "\"
// separators, no trailing "\"). A key exists when it has a section of its own or is the parent
// of one. Empty when the file cannot be read.
std::optional<Lookup> find_value(const std::string& path, std::string_view key,
                                 std::string_view name) {
  int error = 0;
  const File file(open_native_regular_file(path, error), &std::fclose);
  if (file == nullptr) return std::nullopt;
  Lookup found;
  if (key.empty()) found.key_found = true;  // the root of the hive
  bool in_key = false;
  bool continuing = false;
  RegLine read;
  LineReader lines(file.get());
  while (lines.next(read)) {
    const std::string_view line = read.text;
    if (continuing) {  // hex digits of a binary value
      continuing = read.last == '\\';
      continue;
    }
    const ParsedLine parsed = parse_line(read);
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
        found.too_long = parsed.too_long;
        found.text = parsed.is_text ? parsed.text : std::string();
      }
    }
  }
  if (std::ferror(file.get()) != 0) return std::nullopt;
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
  const std::optional<Lookup> lookup = find_value(file, key, name);
  const Lookup found = lookup.value_or(Lookup{});
  if (!lookup || !found.key_found) {
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
  // The ANSI query returns one byte per UTF-16 code unit and the terminating NUL. Of a text
  // too long to keep, the size is that of its start: more than any buffer all the same.
  result.size = static_cast<int>(found.text.size()) + 1;
  if (result.size > buffer_size || found.too_long) {
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
  const std::string file = wine_prefix() + "/user.reg";
  for (const char* section : {"Volatile Environment", "Environment"}) {
    const std::optional<Lookup> found = find_value(file, section, name);
    if (!found) return std::nullopt;
    // A text too long to keep is longer than any variable Windows holds: none.
    if (found->value_found && found->is_text) {
      return found->too_long ? std::nullopt : std::optional<std::string>(found->text);
    }
  }
  return std::nullopt;
}

}  // namespace platform
