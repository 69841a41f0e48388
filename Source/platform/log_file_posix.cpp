// The report log on POSIX systems: a descriptor opened for appending, written with write().
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform.hpp"

namespace platform {

namespace {

std::intptr_t open_log(std::string_view path, int extra_flags) {
  if (holds_nul(path)) {
    errno = EINVAL;
    return -1;
  }
  const std::string native = native_path(path);
  return ::open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | extra_flags, 0666);
}

}  // namespace

int LogFile::open_as(std::string_view path, bool empty_it) {
  close();
  const std::intptr_t fd = open_log(path, empty_it ? O_TRUNC : 0);
  if (fd < 0) return errno != 0 ? errno : EIO;
  handle_ = fd;
  return 0;
}

int LogFile::append(std::string_view text) {
  if (!is_open()) return EBADF;
  const int fd = static_cast<int>(handle_);
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (written == 0) return EIO;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

void LogFile::close() {
  if (!is_open()) return;
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

}  // namespace platform
