// File-system services on POSIX systems. A Windows path with a drive letter names a file of the
// Wine prefix the simulator runs in; any other path is a native one.
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

#include "chars.hpp"
#include "encoding.hpp"
#include "native_files.hpp"
#include "platform.hpp"
#include "wine_prefix.hpp"

namespace platform {
namespace {

// A Windows path: it begins with a drive letter and ":".
bool has_drive(std::string_view path) {
  const char c = path.empty() ? '\0' : path[0];
  return path.size() >= 2 && path[1] == ':' && is_ascii_letter(c);
}

std::string home_folder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home != '\0') return home;
  const passwd* pw = ::getpwuid(::getuid());
  return (pw != nullptr && pw->pw_dir != nullptr) ? std::string(pw->pw_dir) : std::string();
}

// The folder a drive letter leads to: Wine's dosdevices link, which may point anywhere; for C:
// a prefix without that link still has its drive_c folder.
std::string drive_folder(char letter) {
  const std::string prefix = wine_prefix();
  std::string device = prefix + "/dosdevices/" + ascii_lower(letter) + ":";
  struct stat st {};
  if (ascii_lower(letter) == 'c' && ::lstat(device.c_str(), &st) != 0) {
    return prefix + "/drive_c";
  }
  return device;
}

// A UTF-8 file name in upper-case Windows-1252; empty when Windows-1252 cannot spell it, as no
// Windows name then stands for it.
std::string folded_name(std::string_view utf8) {
  std::string name = utf8_to_cp1252(utf8);
  if (cp1252_to_utf8(name) != utf8) return {};
  for (char& c : name)
    c = upper_1252(c);
  return name;
}

// The entry of `folder` that a Windows name (in UTF-8) stands for, as Wine finds it: the name
// itself when it is there, else the entry equal to it without regard to case, the first in
// sorted order when several are. Empty when there is none.
std::optional<std::string> folder_entry(const std::string& folder, const std::string& name) {
  struct stat st {};
  if (::lstat((folder + "/" + name).c_str(), &st) == 0) return name;
  const std::string wanted = folded_name(name);
  if (wanted.empty()) return std::nullopt;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string candidate = entry->d_name;
    if ((!found || candidate < *found) && folded_name(candidate) == wanted) found = candidate;
  }
  ::closedir(dir);
  return found;
}

}  // namespace

std::string wine_prefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix != nullptr && *prefix != '\0') return prefix;
  return home_folder() + "/.wine";
}

std::string native_path(std::string_view path) {
  std::string out;
  if (has_drive(path)) {
    // Wine names its files in UTF-8; the program's texts are Windows-1252.
    std::string rest = cp1252_to_utf8(path.substr(2));
    for (char& c : rest) {
      if (c == '\\') c = '/';
    }
    out = drive_folder(path[0]);
    if (!rest.empty() && rest.front() != '/') out += '/';
    // Windows names ignore case: each folder and file is taken as Wine finds it. From the
    // first one not found on, the rest is kept as written.
    std::size_t from = 0;
    while (from < rest.size()) {
      const std::size_t end = std::min(rest.find('/', from), rest.size());
      if (end > from) {
        const std::optional<std::string> entry = folder_entry(out, rest.substr(from, end - from));
        if (!entry) break;
        out += *entry;
      }
      if (end < rest.size()) out += '/';
      from = end + 1;
    }
    if (from < rest.size()) out += rest.substr(from);
    return out;
  }
  out.assign(path);  // a native path: its bytes are the file system's own
  for (char& c : out) {
    if (c == '\\') c = '/';
  }
  return out;
}

std::string path_for_display(std::string_view path) {
  if (has_drive(path)) return std::string(path);
  return utf8_to_cp1252(path);
}

std::FILE* open_native_regular_file(const std::string& native, int& error) {
  // Without O_NONBLOCK, opening a pipe would wait for a writer, and some devices for a medium.
  const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    error = errno != 0 ? errno : ENOENT;
    return nullptr;
  }
  // Of the flags F_SETFL sets, the opening gave only O_NONBLOCK: setting none clears it.
  struct stat st {};
  // NOLINTNEXTLINE(bugprone-branch-clone): a failed call reports its error wherever it fails
  if (::fstat(fd, &st) != 0) {
    error = errno != 0 ? errno : EIO;
  } else if (!S_ISREG(st.st_mode)) {
    error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  } else if (::fcntl(fd, F_SETFL, 0) < 0) {
    error = errno != 0 ? errno : EIO;
  } else if (std::FILE* file = ::fdopen(fd, "rb")) {
    error = 0;
    return file;
  } else {
    error = errno != 0 ? errno : ENOMEM;
  }
  ::close(fd);
  return nullptr;
}

std::FILE* open_regular_file(std::string_view path, int& error) {
  if (holds_nul(path)) {
    error = ENOENT;
    return nullptr;
  }
  return open_native_regular_file(native_path(path), error);
}

bool file_exists(std::string_view path) {
  if (holds_nul(path)) return false;
  struct stat st {};
  return ::stat(native_path(path).c_str(), &st) == 0;
}

std::optional<std::int64_t> modification_time(std::string_view path) {
  if (holds_nul(path)) return std::nullopt;
  struct stat st {};
  if (::stat(native_path(path).c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtime);
}

}  // namespace platform
