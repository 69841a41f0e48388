// The registry and the environment on Windows, through the ANSI calls: the texts come back in
// the program's own code page.
#include <windows.h>

#include <string>
#include <vector>

#include "platform.hpp"

namespace platform {

RegistryRead read_registry_string(RegistryRoot root, std::string_view subkey, std::string_view name,
                                  int buffer_size) {
  RegistryRead result;
  const std::string key(subkey.substr(0, subkey.find('\0')));
  const std::string value_name(name.substr(0, name.find('\0')));
  HKEY hive = root == RegistryRoot::classes_root ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
  HKEY handle = nullptr;
  result.open_status =
      static_cast<int>(RegOpenKeyExA(hive, key.c_str(), 0, KEY_QUERY_VALUE, &handle));
  if (result.open_status != ERROR_SUCCESS) return result;
  std::vector<BYTE> buffer(static_cast<std::size_t>(buffer_size > 0 ? buffer_size : 1), 0);
  DWORD size = static_cast<DWORD>(buffer_size > 0 ? buffer_size : 0);
  result.query_status = static_cast<int>(
      RegQueryValueExA(handle, value_name.c_str(), nullptr, nullptr, buffer.data(), &size));
  result.size = static_cast<int>(size);
  if (result.query_status == ERROR_SUCCESS) {
    std::size_t n = size <= buffer.size() ? size : buffer.size();
    if (n > 0 && buffer[n - 1] == 0) --n;  // the terminating NUL is counted, not kept
    result.value.assign(reinterpret_cast<const char*>(buffer.data()), n);
  }
  result.close_status = static_cast<int>(RegCloseKey(handle));
  return result;
}

std::optional<std::string> environment_variable(std::string_view name) {
  const std::string variable(name.substr(0, name.find('\0')));
  std::vector<char> buffer(512);
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n =
        GetEnvironmentVariableA(variable.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();  // defined, empty
    }
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);  // n: the room needed, its NUL included
  }
}

}  // namespace platform
