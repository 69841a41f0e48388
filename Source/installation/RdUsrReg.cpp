#include "RdUsrReg.hpp"

#include <string>

#include "platform.hpp"

namespace brevanto {

namespace {

// A NUL-terminated text as "%s" prints it.
std::string_view c_text(std::string_view s) {
  return s.substr(0, s.find('\0'));
}

}  // namespace

int RdUsrReg(Console& con, std::string_view subkey, std::string_view name, std::string& outval,
             int& len) {
  subkey = c_text(subkey);
  name = c_text(name);
  con.write(" Subkey,name : " + std::string(subkey) + " " + std::string(name) + " \n");
  const bool classes_root = len < 0;
  const platform::RegistryRead read = platform::read_registry_string(
      classes_root ? platform::RegistryRoot::classes_root : platform::RegistryRoot::current_user,
      subkey, name, kRegBufferSize);
  if (!classes_root) con.write("USER Open Status : " + std::to_string(read.open_status) + "\n");
  if (read.open_status != 0) return read.open_status;

  con.write("Query Status, Length : " + std::to_string(read.query_status) + " " +
            std::to_string(read.size) + "\n");
  if (read.query_status == 0) {
    con.write("value : " + std::string(c_text(read.value)) + " \n");
    len = read.size;
    outval = read.value;
  }
  con.write("Status : " + std::to_string(read.close_status) + "\n");
  return read.query_status == 0 ? read.close_status : read.query_status;
}

int MyGetEnv(std::string_view name, std::string& value, int len) {
  const std::optional<std::string> found = platform::environment_variable(c_text(name));
  // A value that does not fit is refused whole: a cut path would name another folder.
  if (!found || found->empty() || static_cast<long long>(found->size()) >= len) return 0;
  value = *found;
  return static_cast<int>(found->size());
}

}  // namespace brevanto
