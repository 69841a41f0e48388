// Brevanto: checks Soarix flight plans against a rules file.
#include <string>
#include <vector>

#include "console.hpp"
#include "run.hpp"
#include "stop.hpp"

int main(int argc, char** argv) {
  brevanto::Console con;
  const std::vector<std::string> args(argv, argv + argc);
  try {
    brevanto::run_program(con, args);
  } catch (const brevanto::ProgramStop& stop) {
    con.flush();
    return stop.status;
  }
  con.flush();
  return 0;
}
