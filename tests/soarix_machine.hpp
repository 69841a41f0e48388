// A simulated machine for the installation tests: a Wine prefix with the user's documents
// setting and, on request, versions 2 and 3 of the simulator (registry key, log, executable).
#pragma once

#include <string>

#include "wine_prefix_fixture.hpp"

namespace brevanto::fixtures {

struct Installed {
  std::string folder;  // InstallDir, a Windows path on drive C: or a native path
  std::string log;     // the content of Logs\Logfile.txt ("" for no log file)
  bool exe = true;     // Soarix.exe present
  std::string player;  // LastPlayer ("" for none)
};

class SoarixMachine {
 public:
  std::string documents = "%USERPROFILE%\\Documents";
  std::string userprofile = "C:\\Users\\Ann";
  std::optional<Installed> v2;
  std::optional<Installed> v3;

  static Installed version2() { return {"C:\\Sim2", "Soarix version: 2500\n", true, "Bob"}; }
  static Installed version3() {
    return {"C:\\Program Files\\Soarix3", "Start\nSoarix version: 3012\n", true, "Ann"};
  }

  // Writes the registry and the files.
  void build() const {
    std::string reg =
        "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User "
        "Shell Folders] 1\n\"Personal\"=str(2):\"" +
        reg_text(documents) + "\"\n\n";
    if (!userprofile.empty())
      reg += reg_key("Volatile Environment", {{"USERPROFILE", userprofile}});
    reg += key("Software\\Soarix2", v2) + key("Software\\Soarix3", v3);
    prefix.user_reg(reg);
    files(v2);
    files(v3);
  }

  // A file of the machine at a Windows path of drive C: (or a native path).
  void write(const std::string& path, const std::string& content) const {
    if (path.starts_with("C:\\")) {
      prefix.write_c(path.substr(3), content);
    } else {
      std::string native = path;
      for (char& ch : native) {
        if (ch == '\\') ch = '/';
      }
      std::filesystem::create_directories(std::filesystem::path(native).parent_path());
      std::ofstream(native, std::ios::binary) << content;
    }
  }

  TempPrefix prefix;

 private:
  static std::string key(const std::string& name, const std::optional<Installed>& v) {
    if (!v) return {};
    std::string out =
        "[" + reg_text(name) + "] 1\n\"InstallDir\"=\"" + reg_text(v->folder) + "\"\n";
    if (!v->player.empty()) out += "\"LastPlayer\"=\"" + reg_text(v->player) + "\"\n";
    return out + "\n";
  }
  void files(const std::optional<Installed>& v) const {
    if (!v) return;
    if (!v->log.empty()) write(v->folder + "\\Logs\\Logfile.txt", v->log);
    if (v->exe) write(v->folder + "\\Soarix.exe", "MZ");
  }
};

}  // namespace brevanto::fixtures
