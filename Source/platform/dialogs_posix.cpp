// Dialogs on POSIX systems. On a desktop (DISPLAY or WAYLAND_DISPLAY set, and zenity found on
// PATH) each dialog is a zenity process, started without a shell: its texts are arguments of
// their own, so nothing a message, a plan or a rules file holds is ever read by a shell. Without
// a display, or with one that zenity cannot open (a stale DISPLAY), a message box is written to
// standard error and answered with its default button, and every other dialog answers as
// cancelled.
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console_box.hpp"
#include "encoding.hpp"
#include "platform.hpp"
#include "tinyfiledialogs.hpp"

namespace {

std::string text_or_empty(const char* s) {
  return s == nullptr ? std::string() : std::string(s);
}

// ---- Finding zenity -------------------------------------------------------------------------

bool has_display() {
  return std::ranges::any_of(std::array{"DISPLAY", "WAYLAND_DISPLAY"}, [](const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
  });
}

// zenity's full path from PATH. Empty and relative entries are skipped: they name the current
// folder, where the program may be started among the user's files.
std::optional<std::string> find_zenity() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t colon = rest.find(':');
    const std::string_view dir = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (dir.empty() || dir.front() != '/') continue;
    std::string candidate(dir);
    if (candidate.back() != '/') candidate += '/';
    candidate += "zenity";
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::nullopt;
}

// The zenity to use, or none when the dialogs must stay on the console.
std::optional<std::string> desktop_zenity() {
  if (!has_display()) return std::nullopt;
  return find_zenity();
}

// ---- Running zenity -------------------------------------------------------------------------

struct Run {
  bool exited = false;  // started, and ended by itself
  int status = -1;      // its exit status
  std::string out;      // its standard output, whole
  std::string err;      // the start of its standard error
};

// How much of zenity's standard error is kept: enough for GTK's first warnings.
constexpr std::size_t kErrKept = 4096;

constexpr int kExecFailed = 127;

void close_fd(int fd) {
  while (::close(fd) != 0 && errno == EINTR) {
  }
}

// The environment zenity runs in. zenity takes its arguments in the locale's encoding and
// refuses a text that does not fit it (in the C locale, any accent). The texts are UTF-8, so
// unless the user's locale is a working UTF-8 one, zenity runs in C.UTF-8.
std::vector<std::string> zenity_environment() {
  bool utf8_locale = false;
  if (const locale_t user = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0))) {
    utf8_locale = std::strcmp(::nl_langinfo_l(CODESET, user), "UTF-8") == 0;
    ::freelocale(user);
  }
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    if (!utf8_locale && std::strncmp(*e, "LC_ALL=", 7) == 0) continue;
    env.emplace_back(*e);
  }
  if (!utf8_locale) env.emplace_back("LC_ALL=C.UTF-8");
  return env;
}

// Reads both pipes to their ends, whichever zenity writes first, so that neither fills up.
void read_output(int out_fd, int err_fd, Run& run) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  char buf[4096];
  while (fds[0].fd >= 0 || fds[1].fd >= 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      const ssize_t n = ::read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        if (i == 0) {
          run.out.append(buf, static_cast<std::size_t>(n));
        } else if (run.err.size() < kErrKept) {
          run.err.append(buf, std::min(static_cast<std::size_t>(n), kErrKept - run.err.size()));
        }
      } else if (n == 0 || errno != EINTR) {
        fds[i].fd = -1;  // poll skips it from now on
      }
    }
  }
}

// Runs `program` with `args` (argument 0 excluded) in the environment above: standard input on
// /dev/null, standard output read to its end, standard error kept in part (GTK's chatter is not
// the program's output, but it tells a display that cannot be opened). No shell is involved.
Run run_zenity(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const std::vector<std::string> env = zenity_environment();
  std::vector<char*> envp;
  envp.reserve(env.size() + 1);
  for (const std::string& e : env)
    envp.push_back(const_cast<char*>(e.c_str()));
  envp.push_back(nullptr);

  Run run;
  int out_fds[2];
  int err_fds[2];
  if (::pipe(out_fds) != 0) return run;
  if (::pipe(err_fds) != 0) {
    close_fd(out_fds[0]);
    close_fd(out_fds[1]);
    return run;
  }
  for (const int fd : {out_fds[0], out_fds[1], err_fds[0], err_fds[1]})
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  const int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  const pid_t pid = ::fork();
  if (pid == 0) {
    // Child: only async-signal-safe calls until exec.
    ::dup2(out_fds[1], STDOUT_FILENO);
    ::dup2(err_fds[1], STDERR_FILENO);
    if (null_fd >= 0) ::dup2(null_fd, STDIN_FILENO);
    ::execve(program.c_str(), argv.data(), envp.data());
    ::_exit(kExecFailed);
  }
  close_fd(out_fds[1]);
  close_fd(err_fds[1]);
  if (null_fd >= 0) close_fd(null_fd);
  if (pid >= 0) read_output(out_fds[0], err_fds[0], run);
  close_fd(out_fds[0]);
  close_fd(err_fds[0]);
  if (pid < 0) return run;
  int wstatus = 0;
  while (::waitpid(pid, &wstatus, 0) < 0) {
    if (errno != EINTR) return run;
  }
  if (WIFEXITED(wstatus) && WEXITSTATUS(wstatus) != kExecFailed) {
    run.exited = true;
    run.status = WEXITSTATUS(wstatus);
  }
  return run;
}

// zenity's answer line without its line feed.
std::string answer_line(const std::string& out) {
  std::string line = out;
  if (!line.empty() && line.back() == '\n') line.pop_back();
  return line;
}

// A text of the program, as zenity shows it.
std::string utf8(const char* text) {
  return platform::cp1252_to_utf8(text_or_empty(text));
}

void add_title(std::vector<std::string>& args, const char* title) {
  if (title != nullptr && *title != '\0') args.push_back("--title=" + utf8(title));
}

// The folder (and file) a dialog opens at, as the file system names it.
void add_start_path(std::vector<std::string>& args, const char* path) {
  if (path != nullptr && *path != '\0') args.push_back("--filename=" + platform::native_path(path));
}

void add_filter(std::vector<std::string>& args, int count, const char* const* patterns,
                const char* description) {
  if (count <= 0 || patterns == nullptr) return;
  std::string list;
  for (int i = 0; i < count; ++i) {
    if (patterns[i] == nullptr || *patterns[i] == '\0') continue;
    if (!list.empty()) list += ' ';
    list += utf8(patterns[i]);
  }
  if (list.empty()) return;
  if (description != nullptr && *description != '\0') list = utf8(description) + " | " + list;
  args.push_back("--file-filter=" + list);
  args.emplace_back("--file-filter=All files (*.*) | *");  // as the Windows dialogs offer
}

// The text a dialog returns, kept until the next dialog as the library promises.
const char* keep(std::string text) {
  static std::string last;
  last = std::move(text);
  return last.c_str();
}

// A chosen path: zenity's output, unchanged bytes; failure, cancel or no output is NULL.
const char* path_answer(const Run& run) {
  if (!run.exited || run.status != 0) return nullptr;
  std::string path = answer_line(run.out);
  if (path.empty()) return nullptr;
  return keep(std::move(path));
}

// ---- Message boxes on the desktop -----------------------------------------------------------

constexpr int kZenityTimeout = 5;  // zenity's status when its --timeout ran out
const char* const kNoLabel = "No";

std::vector<std::string> message_box_args(const std::string& type, const std::string& icon,
                                          const char* title, const char* message,
                                          int default_button) {
  std::vector<std::string> args;
  const bool question = type == "okcancel" || type == "yesno" || type == "yesnocancel";
  if (question) {
    args.emplace_back("--question");
    if (icon == "info") args.emplace_back("--icon-name=dialog-information");
    if (icon == "warning") args.emplace_back("--icon-name=dialog-warning");
    if (icon == "error") args.emplace_back("--icon-name=dialog-error");
  } else if (icon == "error") {
    args.emplace_back("--error");
  } else if (icon == "warning") {
    args.emplace_back("--warning");
  } else {
    args.emplace_back("--info");
    if (icon == "question") args.emplace_back("--icon-name=dialog-question");
  }
  add_title(args, title);
  args.push_back("--text=" + utf8(message));
  args.emplace_back("--no-markup");
  if (type == "okcancel") {
    args.emplace_back("--ok-label=OK");
    args.emplace_back("--cancel-label=Cancel");
  } else if (type == "yesnocancel") {
    args.emplace_back("--ok-label=Yes");
    args.emplace_back("--cancel-label=Cancel");
    args.push_back(std::string("--extra-button=") + kNoLabel);
  }
  if (question && default_button == 0) args.emplace_back("--default-cancel");
  return args;
}

// GTK's words when the display does not answer. A user's Cancel also ends zenity with status 1,
// but without them.
bool display_unavailable(const Run& run) {
  return run.exited && run.err.find("cannot open display") != std::string::npos;
}

int zenity_message_box(const std::string& zenity, const std::string& type, const char* title,
                       const char* message, const char* icon, int default_button) {
  const Run run = run_zenity(
      zenity, message_box_args(type, text_or_empty(icon), title, message, default_button));
  if (display_unavailable(run)) {
    platform::write_console_box(title, message, icon);
    return platform::unseen_answer(type);
  }
  const bool answered = run.exited && (run.status == 0 || run.status == 1);
  if (!answered && !(run.exited && run.status == kZenityTimeout)) {
    // zenity could not show the box: the message still reaches the user, on the console.
    platform::write_console_box(title, message, icon);
  }
  if (type != "okcancel" && type != "yesno" && type != "yesnocancel") return 1;
  if (!answered) return 0;
  if (run.status == 0) return 1;
  if (type == "yesnocancel" && answer_line(run.out) == kNoLabel) return 2;
  return 0;
}

}  // namespace

extern "C" {

int tinyfd_messageBox(const char* aTitle, const char* aMessage, const char* aDialogType,
                      const char* aIconType, int aDefaultButton) {
  const std::string type = text_or_empty(aDialogType);
  if (const auto zenity = desktop_zenity()) {
    return zenity_message_box(*zenity, type, aTitle, aMessage, aIconType, aDefaultButton);
  }
  platform::write_console_box(aTitle, aMessage, aIconType);
  return platform::unseen_answer(type);
}

const char* tinyfd_openFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile,
                                  int aNumOfFilterPatterns, const char* const* aFilterPatterns,
                                  const char* aSingleFilterDescription, int aAllowMultipleSelects) {
  const auto zenity = desktop_zenity();
  if (!zenity) return nullptr;
  std::vector<std::string> args{"--file-selection"};
  add_title(args, aTitle);
  add_start_path(args, aDefaultPathAndOrFile);
  if (aAllowMultipleSelects != 0) {
    args.emplace_back("--multiple");
    args.emplace_back("--separator=|");
  }
  add_filter(args, aNumOfFilterPatterns, aFilterPatterns, aSingleFilterDescription);
  return path_answer(run_zenity(*zenity, args));
}

const char* tinyfd_saveFileDialog(const char* aTitle, const char* aDefaultPathAndOrFile,
                                  int aNumOfFilterPatterns, const char* const* aFilterPatterns,
                                  const char* aSingleFilterDescription) {
  const auto zenity = desktop_zenity();
  if (!zenity) return nullptr;
  std::vector<std::string> args{"--file-selection", "--save", "--confirm-overwrite"};
  add_title(args, aTitle);
  add_start_path(args, aDefaultPathAndOrFile);
  add_filter(args, aNumOfFilterPatterns, aFilterPatterns, aSingleFilterDescription);
  return path_answer(run_zenity(*zenity, args));
}

const char* tinyfd_selectFolderDialog(const char* aTitle, const char* aDefaultPath) {
  const auto zenity = desktop_zenity();
  if (!zenity) return nullptr;
  std::vector<std::string> args{"--file-selection", "--directory"};
  add_title(args, aTitle);
  add_start_path(args, aDefaultPath);
  return path_answer(run_zenity(*zenity, args));
}

const char* tinyfd_inputBox(const char* aTitle, const char* aMessage, const char* aDefaultInput) {
  const auto zenity = desktop_zenity();
  if (!zenity) return nullptr;
  std::vector<std::string> args{"--entry"};
  add_title(args, aTitle);
  args.push_back("--text=" + utf8(aMessage));
  if (aDefaultInput == nullptr) {
    args.emplace_back("--hide-text");
  } else {
    args.push_back("--entry-text=" + utf8(aDefaultInput));
  }
  const Run run = run_zenity(*zenity, args);
  // An empty answer is an answer (zenity prints its line feed); no output at all is a failure.
  if (!run.exited || run.status != 0 || run.out.empty()) return nullptr;
  return keep(platform::utf8_to_cp1252(answer_line(run.out)));
}
}
