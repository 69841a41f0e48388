// The user's Windows variables from the [Volatile Environment] and [Environment] sections of
// user.reg, for names the process environment does not define.
#include "RdUsrReg.hpp"
#include "fuzz_support.hpp"
#include "platform.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace brevanto;
  static const fuzz::Scratch scratch;
  scratch.as_wine_prefix();
  scratch.write("user.reg", fuzz::text(data, size));
  for (const char* name : {"USERPROFILE", "HOMEPATH", "TEMP", "BREVANTO_FUZZ_VARIABLE"}) {
    unsetenv(name);
    std::string value;
    const int length = MyGetEnv(name, value, 256);
    fuzz::require(length == 0 || (length == static_cast<int>(value.size()) && length < 256));
    static_cast<void>(platform::environment_variable(name));
  }
  return 0;
}
