#include "log_message.hpp"

#include <cerrno>
#include <cstring>

#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "platform.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kMsgWork = 1024;
const std::string kClosingBanner = [] {
  std::string s;
  for (int i = 0; i < 39; ++i)
    s += "+-";
  return s;
}();

std::string make_banner(std::string_view head, int pairs) {
  std::string s(head);
  for (int i = 0; i < pairs; ++i)
    s += "+-";
  return s;
}

// A number with leading zeros, as the formats I2.2 and I4.4 write it.
std::string zero_padded(int v, std::size_t width) {
  std::string s = std::to_string(v);
  return s.size() < width ? std::string(width - s.size(), '0') + s : s;
}
std::string two(int v) {
  return zero_padded(v, 2);
}
std::string four(int v) {
  return zero_padded(v, 4);
}

// The lines of one message, gathered so that the journal file receives them in one write.
class Lines {
 public:
  explicit Lines(Journal& journal) : journal_(journal) {}
  ~Lines() { journal_.append(text_); }
  Lines(const Lines&) = delete;
  Lines& operator=(const Lines&) = delete;

  // One line to standard output now, and to the journal file with the others.
  void put(std::string_view line) {
    journal_.con.line(line);
    text_ += line;
    text_ += '\n';
  }

 private:
  Journal& journal_;
  std::string text_;
};

std::string default_name(const Journal& journal, const platform::LocalTime& t) {
  const std::string name = extract_name(journal.program_path);
  return name.substr(0, name.find('.')) + "_" + four(t.year) + "_" + two(t.month) + "_" +
         two(t.day) + "-" + two(t.hour) + "_" + two(t.minute) + "_" + two(t.second) + ".log";
}

// The message cut into its lines: at every "/", except "\/", which is a literal "/".
void write_lines(Lines& out, std::string_view text) {
  std::string piece;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '/') {
      piece += '/';
      ++i;
    } else if (text[i] == '/') {
      out.put(trim_right(piece));
      piece.clear();
    } else {
      piece += text[i];
    }
  }
  out.put(trim_right(piece));
}

std::string unescape_slashes(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '/') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

void make_printable(std::string& str) {
  for (char& c : str) {
    if (c == '\n') c = '/';
  }
}

std::string extract_name(std::string_view path) {
  if (trim_right(path).empty()) return {};
  const std::size_t cut = last_folder_separator(path);
  return std::string(trim_right(cut == std::string_view::npos ? path : path.substr(cut + 1)));
}

std::string date_time_text(const platform::LocalTime& t) {
  return four(t.year) + "-" + two(t.month) + "-" + two(t.day) + " " + two(t.hour) + ":" +
         two(t.minute) + ":" + two(t.second);
}

std::string log_command(Journal& journal, std::string_view command) {
  const platform::LocalTime t = platform::local_time();
  const std::string_view given =
      command.size() > 6 ? trim_right(trim_left(command.substr(6))) : std::string_view();
  journal.filnam = given.empty() || trim_right(command) == "CREATE-SEND-NAME"
                       ? default_name(journal, t)
                       : std::string(given);
  int status = 0;
  if (journal.filnam.find('\0') != std::string::npos) {
    // The name would be cut at the NUL and could then name another file: refuse it whole.
    journal.file.close();
    status = EINVAL;
  } else {
    status = journal.file.create(journal.filnam);
    journal.write_failed = false;
    if (status == 0) {
      journal.append(date_time_text(t) + "\n\n");
    }
  }
  journal.con.trace("CREATE ", platform::path_for_display(journal.filnam), status);
  std::string name = journal.filnam;
  if (status == EINVAL) journal.filnam.clear();
  return name;
}

void Journal::append(std::string_view text) {
  // A journal whose file could not be created tries again at each message. One whose file
  // failed a write writes no more: a later message that fits again would leave a gap.
  if (filnam.empty() || text.empty() || write_failed) return;
  if (!file.is_open() && file.open(filnam) != 0) return;
  const int status = file.append(text);
  if (status == 0) return;
  // Said once: the console still receives the whole report.
  write_failed = true;
  file.close();
  con.flush();
  platform::write_stderr("*** " + platform::path_for_display(filnam) +
                         " : the report log cannot be written (error " + std::to_string(status) +
                         "), the report goes on on the console ***\n");
}

namespace {

// One report line of the program: its pieces, or a line holding a blank.
void put_text(Lines& out, std::string_view text) {
  std::string printable(trim_right(text));
  make_printable(printable);
  const std::string_view body = trim_right(printable);
  if (body.empty()) {
    out.put(" ");
  } else {
    write_lines(out, body);
  }
}

}  // namespace

void log_lines(Journal& journal, std::initializer_list<std::string_view> texts) {
  Lines out(journal);
  for (const std::string_view text : texts)
    put_text(out, text);
}

void log_text_lines(Journal& journal, std::initializer_list<std::string_view> texts) {
  Lines out(journal);
  for (const std::string_view text : texts)
    put_text(out, escape_slashes(text));
}

void log_line(Journal& journal, std::string_view text, Banner banner) {
  Lines out(journal);
  switch (banner) {
    case Banner::warning:
      out.put(make_banner("+ WARNING ", 34));
      break;
    case Banner::info:
      out.put(make_banner("+ INFO ", 36));
      break;
    case Banner::error:
      out.put(make_banner("+ ERROR ", 35));
      break;
    case Banner::none:
      break;
  }
  put_text(out, text);
  if (banner != Banner::none) out.put(kClosingBanner);
}

void log_message_f(Journal& journal, std::string& msg) {
  if (msg.rfind("CREATE", 0) == 0) {
    const std::string name = log_command(journal, msg);
    if (trim_right(msg) == "CREATE-SEND-NAME") msg = name;
    return;
  }
  std::string_view text = trim_right(msg);
  Banner banner = Banner::none;
  if (text.size() >= 3 && text[0] == '{' && text[2] == '}') {
    if (text[1] == 'W') banner = Banner::warning;
    if (text[1] == 'I') banner = Banner::info;
    if (text[1] == 'E') banner = Banner::error;
    if (banner != Banner::none) text.remove_prefix(3);
  }
  std::string printable(text.substr(0, kMsgWork));
  make_printable(printable);
  const std::string_view body = trim_right(printable);
  if (body.size() >= 2 && body.front() == '"' && body.back() == '"') {
    // Quoted: one line, its slashes kept. Escaped here so that the line writer keeps them.
    log_line(journal, escape_slashes(unescape_slashes(body.substr(1, body.size() - 2))), banner);
  } else {
    log_line(journal, body, banner);
  }
}

void log_message(Journal& journal, const char* msg) {
  std::string text(msg, strnlen(msg, kMsgWork));
  log_message_f(journal, text);
}

}  // namespace brevanto
