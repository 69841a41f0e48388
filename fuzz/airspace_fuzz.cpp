// A landscape's airspace file, probed for its number of blocks.
#include "fuzz_support.hpp"
#include "get_airspace_size.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  std::string out;
  Console con(out);
  Journal journal(con, "Brevanto");
  const cmndta001 cmn{Language::english, "Vantobre"};
  Io io{con, journal, cmn};
  const int blocks = get_airspace_size(io, scratch.write("Alps.air", fuzz::text(data, size)));
  fuzz::require(blocks >= 0 && static_cast<std::size_t>(blocks) <= size / 2);
  return 0;
}
