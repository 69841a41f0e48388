#include "run.hpp"

#include "entry.hpp"
#include "log_message.hpp"
#include "settings.hpp"

namespace brevanto {

void run_program(Console& con, const std::vector<std::string>& args) {
  RunSettings settings;
  settings.args = args;
  Journal journal(con, args.empty() ? std::string() : args[0]);
  start_up(journal, settings);
}

}  // namespace brevanto
