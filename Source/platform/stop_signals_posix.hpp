// The signals that end a run from outside on POSIX systems: Ctrl-C, kill's default, a closed
// terminal. The report log and the whole files hold them while they write or name a file, so
// that an interrupted run leaves whole lines and no name half registered.
#pragma once

#include <signal.h>

#include <array>

namespace platform {

inline constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};

// The stop signals wait while this lives, and come after.
class StopSignalsHeld {
 public:
  StopSignalsHeld() {
    sigset_t stops;
    ::sigemptyset(&stops);
    for (const int s : kStopSignals)
      ::sigaddset(&stops, s);
    ::sigemptyset(&before_);
    ::sigprocmask(SIG_BLOCK, &stops, &before_);
  }
  ~StopSignalsHeld() { ::sigprocmask(SIG_SETMASK, &before_, nullptr); }
  StopSignalsHeld(const StopSignalsHeld&) = delete;
  StopSignalsHeld& operator=(const StopSignalsHeld&) = delete;

 private:
  sigset_t before_;
};

}  // namespace platform
