// Stand-ins for the simulator's Windows in the tests: a temporary Wine prefix (registry files,
// drive_c tree, files with chosen modification times) and environment variables set for the
// length of a test and restored after it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "console.hpp"
#include "io.hpp"
#include "log_message.hpp"
#include "scoped_env.hpp"

namespace brevanto::fixtures {

// A registry text escaped as Wine writes it: "\" doubled, quotes escaped.
inline std::string reg_text(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

// One section of a registry file with string values.
inline std::string reg_key(std::string_view key,
                           std::initializer_list<std::pair<std::string, std::string>> values) {
  std::string out = "[" + reg_text(key) + "] 1796692303\n#time=1dd86b116bfbefe\n";
  for (const auto& [name, value] : values)
    out += "\"" + reg_text(name) + "\"=\"" + reg_text(value) + "\"\n";
  return out + "\n";
}

inline constexpr const char* kRegHeader =
    "WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n\n"
    "#arch=win64\n\n";

// A temporary folder used as WINEPREFIX for the life of the object. USERPROFILE and HOMEPATH
// are taken out of the process environment meanwhile, so that the prefix alone answers.
class TempPrefix {
 public:
  TempPrefix() { std::filesystem::create_directories(root_ / "drive_c"); }
  TempPrefix(const TempPrefix&) = delete;
  TempPrefix& operator=(const TempPrefix&) = delete;
  ~TempPrefix() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }

  const std::filesystem::path& root() const { return root_; }

  // user.reg: the header, then `body`.
  void user_reg(const std::string& body) const { write_raw("user.reg", kRegHeader + body); }
  void system_reg(const std::string& body) const { write_raw("system.reg", kRegHeader + body); }

  // A file below the prefix, at a native relative path ("drive_c/Sim/x.txt").
  std::filesystem::path write_raw(const std::string& relative, const std::string& content) const {
    const std::filesystem::path p = root_ / relative;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }

  // A file of drive C: at a Windows path below it ("Sim\\Logs\\Logfile.txt").
  std::filesystem::path write_c(std::string windows_path, const std::string& content) const {
    for (char& c : windows_path) {
      if (c == '\\') c = '/';
    }
    return write_raw("drive_c/" + windows_path, content);
  }

  // Sets the modification time (seconds since 1970) of a file of drive C:.
  void touch_c(std::string windows_path, std::time_t seconds) const {
    for (char& c : windows_path) {
      if (c == '\\') c = '/';
    }
    const std::filesystem::path p = root_ / "drive_c" / windows_path;
    if (!std::filesystem::exists(p)) write_raw("drive_c/" + windows_path, "");
    using namespace std::chrono;
    const auto sys = system_clock::from_time_t(seconds);
    std::filesystem::last_write_time(p, file_clock::from_sys(sys));
  }

 private:
  static std::filesystem::path make_folder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "brevanto-prefix-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return pattern;
  }

  std::filesystem::path root_ = make_folder();
  ScopedEnv prefix_{"WINEPREFIX", root_.string()};
  ScopedEnv profile_{"USERPROFILE", std::nullopt};
  ScopedEnv homepath_{"HOMEPATH", std::nullopt};
};

// A console captured into a text, a journal without file, and the message settings.
struct CapturedIo {
  std::string out;
  Console con{out};
  Journal journal{con, "Brevanto"};
  cmndta001 cmn;
  Io io{con, journal, cmn};
};

}  // namespace brevanto::fixtures
