// The simulator's log file, read for its version line below the folder the registry gives.
#include "fuzz_support.hpp"
#include "get_soarix_inst_dir.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  scratch.as_wine_prefix();
  scratch.write(
      "user.reg",
      "WINE REGISTRY Version 2\n\n[Software\\\\Soarix3] 1\n\"InstallDir\"=\"C:\\\\Sim3\"\n");
  scratch.write("drive_c/Sim3/Logs/Logfile.txt", fuzz::text(data, size));
  std::string out;
  Console con(out);
  Journal journal(con, "Brevanto");
  const cmndta001 cmn{Language::english, "Vantobre"};
  Io io{con, journal, cmn};
  inst00 inst;
  std::string path;
  const int version = get_soarix_inst_dir(io, inst, 3, path, true);
  fuzz::require(path == "C:\\Sim3");
  static_cast<void>(version);
  return 0;
}
