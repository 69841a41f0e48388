// The report log on POSIX systems: a descriptor opened for appending, written with write().
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform.hpp"
#include "stop_signals_posix.hpp"

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
  // A file size limit (ulimit -f) would end the program at the write that crosses it: that
  // write fails instead, as on a full disk.
  ::signal(SIGXFSZ, SIG_IGN);
  const std::intptr_t fd = open_log(path, empty_it ? O_TRUNC : 0);
  if (fd < 0) return errno != 0 ? errno : EIO;
  handle_ = fd;
  return 0;
}

int LogFile::append(std::string_view text) {
  if (!is_open()) return EBADF;
  const int fd = static_cast<int>(handle_);
  const StopSignalsHeld held;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written > 0) {
      done += static_cast<std::size_t>(written);
      continue;
    }
    if (written < 0 && errno == EINTR) continue;
    const int error = written < 0 ? errno : EIO;
    // A message the disk took only in part is taken back: the file ends at a whole message.
    const off_t end = ::lseek(fd, 0, SEEK_END);
    if (done > 0 && end >= static_cast<off_t>(done)) {
      static_cast<void>(::ftruncate(fd, end - static_cast<off_t>(done)));
    }
    return error;
  }
  return 0;
}

void LogFile::close() {
  if (!is_open()) return;
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

}  // namespace platform
