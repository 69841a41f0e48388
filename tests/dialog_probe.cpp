// A small program for the end-to-end tests of the dialogs: it opens the one dialog its command
// line asks for, through the program's own routines, and writes what came back.
//
//   dialog_probe message <status> <title> <message> [line]
//   dialog_probe file <title> <path> <filter> <multi>
//   dialog_probe save <title> <path> <filter>
//   dialog_probe folder <title> <default>
//   dialog_probe string <title> <message> <default>
#include <string>
#include <vector>

#include "GetFilename.hpp"
#include "To_GUI.hpp"
#include "console.hpp"
#include "number_read.hpp"
#include "platform/platform.hpp"

namespace {

int usage(brevanto::Console& con) {
  con.line("usage: dialog_probe message|file|save|folder|string ...");
  return 2;
}

int probe(brevanto::Console& con, const std::vector<std::string>& a) {
  using namespace brevanto;
  if (a.size() >= 5 && a[1] == "message") {
    int status = read_int(a[2]).value_or(-1);
    std::string msg = a[4];
    error_message_tit(con, status, a[3], msg, a.size() > 5 && a[5] == "line");
    con.line("status=" + std::to_string(status));
    return 0;
  }
  std::optional<std::string> answer;
  int result = 0;  // as the dialog tests read it: 1 for an answer, 0 for a cancel
  if (a.size() == 6 && a[1] == "file") {
    answer = GetFileName(con, a[2], a[3], a[4], "", read_int(a[5]).value_or(0) == 1);
  } else if (a.size() == 5 && a[1] == "save") {
    answer = SaveFileName(con, a[2], a[3], a[4], "");
  } else if (a.size() == 4 && a[1] == "folder") {
    answer = GetFolder(con, a[2], a[3]);
    result = 1;  // for a folder the other way round
  } else if (a.size() == 5 && a[1] == "string") {
    answer = GetString(con, a[2], a[3], a[4]);
  } else {
    return usage(con);
  }
  if (answer) result = 1 - result;
  const std::string text = answer.value_or("");
  con.line("result=" + std::to_string(result) + " len=" + std::to_string(text.size()) +
           " text=" + text);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  brevanto::Console con(platform::write_stdout);
  return probe(con, std::vector<std::string>(argv, argv + argc));
}
