// Whole files on POSIX systems: written to a temporary file beside the target, then renamed over
// it, which replaces the target in one step; scratch files without a name; and whether two paths
// name one file.
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>

#include "platform.hpp"
#include "stop_signals_posix.hpp"

namespace platform {
namespace {

int last_error() {
  return errno != 0 ? errno : EIO;
}

int write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return last_error();
    }
    if (written == 0) return EIO;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// The temporary files being written, for the handler of the stop signals, which removes them
// before the signal ends the program. A signal handler reaches nothing but static storage, and
// may call only what is safe there (unlink, raise): this is the program's one mutable static
// state, and only this file touches it.
constexpr std::size_t kPendingFiles = 4;  // the run's two outputs, with room to spare
struct PendingFiles {
  std::array<std::array<char, PATH_MAX + 1>, kPendingFiles> names{};
  std::array<volatile std::sig_atomic_t, kPendingFiles> used{};
  std::array<struct sigaction, kStopSignals.size()> before{};  // the dispositions replaced
  std::array<bool, kStopSignals.size()> replaced{};
  int count = 0;
};
PendingFiles pending;

extern "C" void remove_pending_files(int signal) {
  for (std::size_t i = 0; i < kPendingFiles; ++i) {
    if (pending.used[i] != 0) ::unlink(pending.names[i].data());
  }
  // SA_RESETHAND gave the signal its default action back: raised again, it ends the program
  // once this handler returns.
  ::raise(signal);
}

// Registers a temporary file's name (signals held); the handler is set while any is registered.
// A name that does not fit, or a full table, goes unregistered: its file is then left to the
// other ways of removal.
void register_pending(const std::string& name) {
  if (name.size() > PATH_MAX) return;
  for (std::size_t i = 0; i < kPendingFiles; ++i) {
    if (pending.used[i] != 0) continue;
    std::memcpy(pending.names[i].data(), name.c_str(), name.size() + 1);
    pending.used[i] = 1;
    if (pending.count++ == 0) {
      struct sigaction handler {};
      handler.sa_handler = remove_pending_files;
      handler.sa_flags = static_cast<int>(SA_RESETHAND);
      ::sigemptyset(&handler.sa_mask);
      for (std::size_t s = 0; s < kStopSignals.size(); ++s) {
        ::sigaction(kStopSignals[s], nullptr, &pending.before[s]);
        // A signal the program was started to ignore (nohup) stays ignored.
        pending.replaced[s] = pending.before[s].sa_handler != SIG_IGN;
        if (pending.replaced[s]) ::sigaction(kStopSignals[s], &handler, nullptr);
      }
    }
    return;
  }
}

void unregister_pending(int slot) {
  if (slot < 0) return;
  pending.used[static_cast<std::size_t>(slot)] = 0;
  if (--pending.count > 0) return;
  for (std::size_t s = 0; s < kStopSignals.size(); ++s) {
    if (pending.replaced[s]) ::sigaction(kStopSignals[s], &pending.before[s], nullptr);
  }
}

// The slot of a registered name, found again by its text.
int pending_slot(const std::string& name) {
  for (std::size_t i = 0; i < kPendingFiles; ++i) {
    if (pending.used[i] != 0 && name == pending.names[i].data()) return static_cast<int>(i);
  }
  return -1;
}

// The folder part of a native path, its last "/" included; empty for a name alone.
std::string folder_of(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file of a short name of its own in `folder`, created exclusively: an existing file of
// that name, or a link planted there, is never written through. -1 and `error` on failure.
int create_beside(const std::string& folder, std::string& name, int& error, int flags) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name =
        folder + ".brevanto-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
    const int fd = ::open(name.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) {
      error = last_error();
      return -1;
    }
  }
  error = EEXIST;
  return -1;
}

// What stands at the target: 0 when nothing or a regular file stands there (`mode` then holds
// its permission bits, or -1), else the error that refuses it.
int target_state(const std::string& target, int& mode) {
  mode = -1;
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) return errno == ENOENT ? 0 : last_error();
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return EINVAL;
  mode = static_cast<int>(st.st_mode & 0777);
  return 0;
}

}  // namespace

bool same_file(std::string_view a, std::string_view b) {
  if (holds_nul(a) || holds_nul(b)) return false;
  struct stat sa {};
  struct stat sb {};
  return ::stat(native_path(a).c_str(), &sa) == 0 && ::stat(native_path(b).c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int WholeFile::open(std::string_view path) {
  discard();
  if (path.empty() || holds_nul(path)) return ENOENT;
  target_ = native_path(path);
  int mode = -1;
  if (const int refused = target_state(target_, mode); refused != 0) return refused;
  int error = 0;
  int fd = -1;
  {
    const StopSignalsHeld held;
    fd = create_beside(folder_of(target_), temp_, error, O_WRONLY);
    if (fd < 0) return error;
    register_pending(temp_);
  }
  handle_ = fd;
  // A file that only its owner may read stays so from the first byte.
  if (mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
    error = last_error();
    discard();
    return error;
  }
  return 0;
}

int WholeFile::write(std::string_view bytes) {
  if (!is_open()) return EBADF;
  return write_all(static_cast<int>(handle_), bytes);
}

int WholeFile::commit() {
  if (!is_open()) return EBADF;
  const int fd = static_cast<int>(handle_);
  int mode = -1;
  int error = target_state(target_, mode);
  if (error == 0 && mode >= 0 && ::fchmod(fd, static_cast<mode_t>(mode)) != 0) {
    error = last_error();
  }
  if (error == 0 && ::fsync(fd) != 0) error = last_error();
  if (error != 0) {
    discard();
    return error;
  }
  const StopSignalsHeld held;
  handle_ = kClosed;
  if (::close(fd) != 0) error = last_error();
  if (error == 0 && ::rename(temp_.c_str(), target_.c_str()) != 0) error = last_error();
  if (error != 0) ::unlink(temp_.c_str());
  unregister_pending(pending_slot(temp_));
  return error;
}

void WholeFile::discard() {
  if (!is_open()) return;
  const StopSignalsHeld held;
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
  ::unlink(temp_.c_str());
  unregister_pending(pending_slot(temp_));
}

int ScratchFile::open(std::string_view beside) {
  close();
  if (holds_nul(beside)) return ENOENT;
  std::string name;
  int error = 0;
  // Its name goes as soon as it is made: the open file stays, and nothing is left behind.
  const StopSignalsHeld held;
  const int fd = create_beside(folder_of(native_path(beside)), name, error, O_RDWR);
  if (fd < 0) return error;
  ::unlink(name.c_str());
  handle_ = fd;
  return 0;
}

int ScratchFile::write(std::string_view bytes) {
  if (!is_open()) return EBADF;
  return write_all(static_cast<int>(handle_), bytes);
}

int ScratchFile::copy_to(WholeFile& to) {
  if (!is_open()) return EBADF;
  const int fd = static_cast<int>(handle_);
  if (::lseek(fd, 0, SEEK_SET) != 0) return last_error();
  std::array<char, 65536> block{};
  for (;;) {
    const ssize_t got = ::read(fd, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return last_error();
    if (got == 0) return 0;
    if (const int error = to.write(std::string_view(block.data(), static_cast<std::size_t>(got))))
      return error;
  }
}

void ScratchFile::close() {
  if (!is_open()) return;
  ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

}  // namespace platform
