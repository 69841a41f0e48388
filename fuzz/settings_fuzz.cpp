// The settings file Brevanto.ini, read beside the program.
#include "fuzz_support.hpp"
#include "settings.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  scratch.write("Brevanto.ini", fuzz::text(data, size));
  const RunSettings s = rd_ini(scratch.path("Brevanto"), RunSettings{});
  fuzz::require(s.deffil == "DEFAULT_CHECK.fpl" && s.args.empty());
  return 0;
}
