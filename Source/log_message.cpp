#include "log_message.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "fixed_text.hpp"
#include "fortran_format.hpp"
#include "platform/platform.hpp"

namespace brevanto {

namespace {

constexpr std::size_t kMsgWork = 1024;
const std::string kClosingBanner = [] {
  std::string s;
  for (int i = 0; i < 39; ++i)
    s += "+-";
  return s;
}();

std::string banner(std::string_view head, int pairs) {
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

// Writes one line to standard output and to the journal file, when there is one.
void put(Journal& journal, std::FILE* file, std::string_view line) {
  journal.con.line(line);
  if (file != nullptr) {
    if (!line.empty()) std::fwrite(line.data(), 1, line.size(), file);
    std::fputc('\n', file);
  }
}

void create(Journal& journal, std::string& msg) {
  const platform::LocalTime t = platform::local_time();
  journal.filnam = std::string(trim_right(trim_left(std::string_view(msg).substr(6))));
  if (journal.filnam.empty() || trim_right(msg) == "CREATE-SEND-NAME") {
    const std::string name = extract_name(journal.program_path);
    journal.filnam = name.substr(0, name.find('.')) + "_" + four(t.year) + "_" + two(t.month) +
                     "_" + two(t.day) + "-" + two(t.hour) + "_" + two(t.minute) + "_" +
                     two(t.second) + ".log";
  }
  errno = 0;
  std::FILE* file = std::fopen(platform::native_path(journal.filnam).c_str(), "w");
  int status = 0;
  if (file == nullptr) {
    status = errno != 0 ? errno : 1;
  } else {
    const std::string stamp = four(t.year) + "-" + two(t.month) + "-" + two(t.day) + " " +
                              two(t.hour) + ":" + two(t.minute) + ":" + two(t.second);
    std::fprintf(file, "%s\n\n", stamp.c_str());
    std::fclose(file);
  }
  journal.con.trace("CREATE ", journal.filnam, status);
  if (trim_right(msg) == "CREATE-SEND-NAME") msg = journal.filnam;
}

// The message cut into its lines: at every "/", except "\/", which is a literal "/".
void write_lines(Journal& journal, std::FILE* file, std::string_view text) {
  std::string piece;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '/') {
      piece += '/';
      ++i;
    } else if (text[i] == '/') {
      put(journal, file, trim_right(piece));
      piece.clear();
    } else {
      piece += text[i];
    }
  }
  put(journal, file, trim_right(piece));
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

void log_message_f(Journal& journal, std::string& msg) {
  if (msg.rfind("CREATE", 0) == 0) {
    create(journal, msg);
    return;
  }
  std::FILE* file = nullptr;
  if (!journal.filnam.empty()) {
    file = std::fopen(platform::native_path(journal.filnam).c_str(), "a");
  }
  std::string_view closing;
  std::string msg_p;
  const std::string_view text = trim_right(msg);
  if (!text.empty() && text.size() >= 3 &&
      (text.starts_with("{W}") || text.starts_with("{I}") || text.starts_with("{E}"))) {
    switch (text[1]) {
      case 'W':
        put(journal, file, banner("+ WARNING ", 34));
        break;
      case 'I':
        put(journal, file, banner("+ INFO ", 36));
        break;
      default:
        put(journal, file, banner("+ ERROR ", 35));
        break;
    }
    closing = kClosingBanner;
    msg_p = std::string(text.substr(3));
  } else {
    msg_p = std::string(text);
  }
  if (msg_p.size() > kMsgWork) msg_p.resize(kMsgWork);
  make_printable(msg_p);
  const std::string_view body = trim_right(msg_p);
  if (body.empty()) {
    put(journal, file, " ");
  } else if (body.size() >= 2 && body.front() == '"' && body.back() == '"') {
    put(journal, file, unescape_slashes(body.substr(1, body.size() - 2)));
  } else {
    write_lines(journal, file, body);
  }
  if (!closing.empty()) put(journal, file, closing);
  if (file != nullptr) std::fclose(file);
}

void log_message(Journal& journal, const char* msg) {
  std::string text(msg, strnlen(msg, kMsgWork));
  log_message_f(journal, text);
}

}  // namespace brevanto
