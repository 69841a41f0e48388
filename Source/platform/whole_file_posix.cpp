// Whole files on POSIX systems: written to a temporary file beside the target, then renamed over
// it, which replaces the target in one step; and whether two paths name one file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "platform.hpp"

namespace platform {
namespace {

int write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

int last_error() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

bool same_file(std::string_view a, std::string_view b) {
  if (holds_nul(a) || holds_nul(b)) return false;
  struct stat sa {};
  struct stat sb {};
  return ::stat(native_path(a).c_str(), &sa) == 0 && ::stat(native_path(b).c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int write_whole_file(std::string_view path, std::string_view bytes) {
  if (path.empty() || holds_nul(path)) return ENOENT;
  const std::string target = native_path(path);
  // A name of its own beside the target, created exclusively: an existing file of that name,
  // or a link planted there, is never written through.
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    if (attempt == 100) return EEXIST;
    temp = target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return last_error();
  }
  int error = write_all(fd, bytes);
  if (error == 0 && ::fsync(fd) != 0) error = last_error();
  if (::close(fd) != 0 && error == 0) error = last_error();
  if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0) error = last_error();
  if (error != 0) ::unlink(temp.c_str());
  return error;
}

}  // namespace platform
