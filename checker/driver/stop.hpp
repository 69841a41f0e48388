// The end of the program before the end of its run. Thrown only by the check driver, where the
// run must stop (a fatal error, "-help", a bad option), and caught only in main(), which flushes
// the output and returns the exit status; the library reports faults as values. It derives from
// nothing, so no handler of std::exception can swallow it.
#pragma once

namespace brevanto {

struct ProgramStop {
  int status;  // exit status: 0 for "-help", 1 for every error
};

}  // namespace brevanto
