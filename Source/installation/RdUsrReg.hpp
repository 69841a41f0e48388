// Thin wrappers over the registry and the environment, with the trace lines the simulator
// lookups write.
#pragma once

#include <string>
#include <string_view>

#include "console.hpp"

namespace brevanto {

// The registry values are read into a buffer of this size: a value of 254 characters and its
// NUL fill it.
inline constexpr int kRegBufferSize = 255;

// Reads the string value `name` of the key `subkey` (a trailing "\" is ignored): under the
// current user's hive when `len` is 0 or positive on entry, under the classes root when it is
// negative. Returns 0 when the value was read: `outval` receives it (up to its NUL) and `len` its
// size in bytes, the NUL included. Otherwise returns the system status (2: key or value missing
// or not a string, 234: value longer than 254 characters) and leaves `outval` and `len` alone.
// The value is taken as stored: environment variables in it are not expanded.
int RdUsrReg(Console& con, std::string_view subkey, std::string_view name, std::string& outval,
             int& len);

// The value of the environment variable `name` when it is defined, not empty, and fits with its
// NUL in `len` bytes: `value` receives it and its length is returned. Otherwise returns 0 and
// leaves `value` alone.
int MyGetEnv(std::string_view name, std::string& value, int len);

}  // namespace brevanto
