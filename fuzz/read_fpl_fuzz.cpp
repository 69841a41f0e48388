// The flight-plan reader and the cloud base taken from what it read. The landscape's airspace
// count comes from its name, so that long names widen the lines as a big landscape does.
#include "fuzz_support.hpp"
#include "read_fpl.hpp"
#include "value_primitives.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  std::string out;
  Console con(out);
  const AirspaceCount airspace_count = [](const std::string& landscape) {
    return static_cast<int>(landscape.size()) * 250 - 10;
  };
  FlightPlan fpl;
  TextFile plan(scratch.write("plan.fpl", fuzz::text(data, size)), TextFile::Decoding::detect_utf8);
  const FplReadState state = read_fpl(con, airspace_count, fpl, plan, true);
  fuzz::require(plan.is_open());  // the caller closes it
  fuzz::require(state.nl >= 0 && fpl.last_dis_as >= -1 && fpl.last_dis_as <= 8192);
  if (!state.too_many_turnpoints) get_cloud_base(con, fpl);
  return 0;
}
