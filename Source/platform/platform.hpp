// The operating-system layer: everything the program asks of Windows (or, on Linux, of the Wine
// prefix the simulator is installed in). Implemented once per system (*_win32.cpp, *_posix.cpp);
// nothing above this layer includes a system header.
//
// Texts crossing this interface are Windows-1252 bytes, the program's own encoding. Paths are the
// program's path texts (Windows paths such as C:\Sim\x.fpl, or native paths); native_path() turns
// them into what the file system takes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// ---- Program and console -------------------------------------------------------------------

// The command line, argument 0 (the invocation name) first. On Windows it is read again from the
// system in UTF-16, so that every name reaches the program whole, escaped where Windows-1252
// cannot spell it (encoding.hpp); elsewhere it is `argv` as it is.
std::vector<std::string> command_line(int argc, char** argv);

// Full path of the running executable; empty when it cannot be obtained.
std::string executable_path();

// True where "/" separates folders in a local path as "\" does (POSIX); false on Windows.
bool slash_is_separator();

// The user interface language identifier (LANGID): 0x040C French (France), 0x0409 English, ...
std::uint16_t ui_language();

// Number of processes sharing the console (1: the program owns its console).
int console_process_count();

// Hides the console window; does nothing where there is none to hide.
void hide_console_window();

// Writes bytes to standard output or standard error, converted to the console's encoding.
// No buffering here: the caller buffers.
void write_stdout(std::string_view text);
void write_stderr(std::string_view text);
void flush_stdout();

struct LocalTime {
  int year, month, day, hour, minute, second;
};
LocalTime local_time();

// ---- Files ----------------------------------------------------------------------------------

// A NUL byte would cut the name the system sees, which could then name another file: every file
// call of this layer refuses a path that holds one, as a file that does not exist.
inline bool holds_nul(std::string_view path) {
  return path.find('\0') != std::string_view::npos;
}

// The native path for a path text of the program (on Windows: the text itself).
std::string native_path(std::string_view path);

// A path as messages show it, in Windows-1252: a native path is spelled by the file system (in
// UTF-8 on Linux) and converted; a Windows path is the program's own text and stays as it is,
// but for the letters Windows-1252 cannot spell, kept escaped (encoding.hpp): each is a "?".
// Every message, trace and report that names a file names it so.
std::string path_for_display(std::string_view path);

// Opens a file for reading, in binary mode, when it is a regular file. A folder, a pipe or a
// device is refused at once, as a missing file is: nullptr, and `error` holds a positive system
// error code. What is tested is the opened file itself, not the name, which may change between.
std::FILE* open_regular_file(std::string_view path, int& error);

// Whether a file or folder of that name exists.
bool file_exists(std::string_view path);

// Last modification time in seconds since 1970-01-01 00:00 UTC; empty when the file is missing.
std::optional<std::int64_t> modification_time(std::string_view path);

// Whether two paths name one existing file (through links and different spellings alike).
bool same_file(std::string_view a, std::string_view b);

// A file the program makes as it goes (the CSV export, the HTML report) and that takes its name
// only once it is whole. Its bytes go to a temporary file beside the target, under a short name
// of its own (any name that fits the folder leaves room for it), which commit() renames over
// the target: the target is at every moment either what it was or the whole new content, never
// a part of it. The temporary file never outlives the run that made it: a failure, discard() and
// the destructor remove it; so does, on POSIX, a stop signal (Ctrl-C, SIGTERM, SIGHUP), and on
// Windows the system, when the program ends before commit().
class WholeFile {
 public:
  WholeFile() = default;
  WholeFile(const WholeFile&) = delete;
  WholeFile& operator=(const WholeFile&) = delete;
  ~WholeFile() { discard(); }

  // Creates the temporary file for the target `path`. Refused with a positive system error code:
  // an empty path or one that holds a NUL, a target that exists and is not a regular file (a
  // folder, a device, a pipe), a folder where no file can be made.
  int open(std::string_view path);
  bool is_open() const { return handle_ != kClosed; }
  // Appends the bytes as they are (no line-end change); 0 or a positive system error code.
  int write(std::string_view bytes);
  // The temporary file, complete, takes the target's name. A file it replaces keeps its
  // permission bits; a new one gets those of any new file. Refused, as open() refuses it, when
  // the target has meanwhile become something other than a regular file. 0, or a positive
  // system error code: the temporary file is then gone and the target as it was.
  int commit();
  // Removes the temporary file; the target stays as it was.
  void discard();

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
  std::string target_;  // the target, as the system names it
  std::string temp_;    // the temporary file, alike
};

// Bytes set aside on disk, to be read back once (the sections of a web page, made before the
// head that lists them): a file that no name shows, gone as it is closed or as the program ends,
// in whatever way.
class ScratchFile {
 public:
  ScratchFile() = default;
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() { close(); }

  // Makes it in the folder of the file `beside`; 0 or a positive system error code.
  int open(std::string_view beside);
  bool is_open() const { return handle_ != kClosed; }
  // Appends the bytes; 0 or a positive system error code.
  int write(std::string_view bytes);
  // Appends everything written, from its first byte, to `to`; 0 or a positive system error code.
  int copy_to(WholeFile& to);
  void close();

 private:
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

// ---- File names and patterns --------------------------------------------------------------

// The files a flight-plan argument of the command line stands for. Windows shells hand "*" and
// "?" to the program as typed: there a pattern in the last part of the path gives the files
// (not folders) of its folder that match it, each as the folder part as written followed by
// the file's name, in the order Explorer lists them. A pattern that matches no file, and an
// argument without a pattern, come back as they are. Where the shell expands patterns itself
// (POSIX), every argument comes back as it is.
std::vector<std::string> expand_wildcards(std::string_view argument);

// Whether a whole file name matches a pattern: "*" stands for any run of characters, "?" for
// one character, and letters match without regard to case, as Windows compares names.
bool matches_pattern(std::string_view name, std::string_view pattern);

// Whether name `a` comes before name `b` in the order Explorer lists files: the names before
// their extensions, then the extensions; letters without regard to case or accents, a run of
// digits by its value ("day2" before "day10"), blanks and punctuation before digits and digits
// before letters. Names that this order finds equal ("day01" and "day1", "Etape" and
// "\xC9tape") follow their bytes.
bool file_name_less(std::string_view a, std::string_view b);

// ---- Registry and environment ---------------------------------------------------------------

enum class RegistryRoot { current_user, classes_root };

// What reading one string value costs in system calls, with each call's status (0: success;
// 2: key or value missing; 234: value too long for the buffer).
struct RegistryRead {
  int open_status = 0;
  int query_status = 0;
  int size = 0;       // bytes returned by the query, the terminating NUL included
  std::string value;  // the value without its NUL (query_status 0 only)
  int close_status = 0;
};
RegistryRead read_registry_string(RegistryRoot root, std::string_view subkey, std::string_view name,
                                  int buffer_size);

// The value of an environment variable; empty when it is not defined.
std::optional<std::string> environment_variable(std::string_view name);

// ---- Report log -----------------------------------------------------------------------------

// A text file kept open for appending while the run lasts. Every append reaches the system at
// once, in one call: nothing waits in the program, so what was written survives a crash. Line
// ends are "\n" in the text and the system's own in the file. On Windows other programs may read
// the file while it is open.
class LogFile {
 public:
  LogFile() = default;
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;
  ~LogFile() { close(); }

  // Creates the file, or empties it; closes the one open before. Returns 0 or a positive system
  // error code (the file is then closed).
  int create(std::string_view path) { return open_as(path, true); }
  // Opens the file for appending, created when missing; same results.
  int open(std::string_view path) { return open_as(path, false); }
  bool is_open() const { return handle_ != kClosed; }
  // Appends the text; 0 or a positive system error code (a full disk, ...). On POSIX a text
  // the file took only in part is taken back, and Ctrl-C or SIGTERM wait for the append to end,
  // so that the file always ends at a whole text.
  int append(std::string_view text);
  void close();

 private:
  int open_as(std::string_view path, bool empty_it);
  static constexpr std::intptr_t kClosed = -1;
  std::intptr_t handle_ = kClosed;
};

}  // namespace platform
