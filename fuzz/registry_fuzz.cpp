// The registry files of the Wine prefix (user.reg and system.reg), asked for the values the
// program reads.
#include "RdUsrReg.hpp"
#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  scratch.as_wine_prefix();
  scratch.write("user.reg", fuzz::text(data, size));
  scratch.write("system.reg", fuzz::text(data, size));
  struct Ask {
    std::string_view subkey, name;
    int len;
  };
  constexpr Ask asks[] = {
      {"SOFTWARE\\Soarix3\\", "InstallDir", 0},
      {"SOFTWARE\\Soarix2\\", "LastPlayer", 0},
      {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Personal", 0},
      {"", "", 0},
      {".fpl", "", -1},
  };
  for (const Ask& a : asks) {
    std::string out, value;
    Console con(out);
    int len = a.len;
    const int status = RdUsrReg(con, a.subkey, a.name, value, len);
    fuzz::require(status != 0 || (len == static_cast<int>(value.size()) + 1 && len <= 255));
  }
  return 0;
}
