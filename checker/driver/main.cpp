// Brevanto: checks Soarix flight plans against a rules file.
#include <exception>
#include <string>
#include <vector>

#include "console.hpp"
#include "platform.hpp"
#include "run.hpp"
#include "stop.hpp"

int main(int argc, char** argv) {
  brevanto::Console con(platform::write_stdout);
  const std::vector<std::string> args = platform::command_line(argc, argv);
  try {
    brevanto::run_program(con, args);
  } catch (const brevanto::ProgramStop& stop) {
    con.flush();
    return stop.status;
  } catch (const std::exception& e) {
    // A fault of the program itself: keep what the run wrote and say what went wrong.
    con.flush();
    platform::write_stderr(std::string("*** Brevanto stopped: ") + e.what() + " ***\n");
    return 1;
  }
  con.flush();
  return 0;
}
