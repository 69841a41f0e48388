// Test helper: a stand-in `zenity` on a desktop that does not exist. While the object lives,
// DISPLAY is set, WAYLAND_DISPLAY removed and PATH holds only the stand-in's folder. Each run of
// the stand-in records its arguments (call 1, 2, ...) and answers with the output and exit
// status the test gave for that call (or for every call).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "scoped_env.hpp"

namespace brevanto::fixtures {

class ZenityStub {
 public:
  // `install` false leaves the folder on PATH empty: a desktop without zenity.
  explicit ZenityStub(bool install = true) : dir_(make_dir()) {
    if (install) write_script();
    display_.emplace("DISPLAY", ":97");
    wayland_.emplace("WAYLAND_DISPLAY", std::nullopt);
    path_.emplace("PATH", dir_.string());
  }
  ~ZenityStub() {
    path_.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ZenityStub(const ZenityStub&) = delete;
  ZenityStub& operator=(const ZenityStub&) = delete;

  // The answer of call `call` (1-based); call 0 sets the answer of every call without its own.
  void answer(int call, const std::string& out, int status) {
    const std::string suffix = call == 0 ? std::string() : std::to_string(call);
    write_file("out" + suffix, out);
    write_file("status" + suffix, std::to_string(status) + "\n");
  }
  void answer_all(const std::string& out, int status) { answer(0, out, status); }

  // The arguments of every call so far, argument 0 excluded.
  std::vector<std::vector<std::string>> calls() const {
    std::vector<std::vector<std::string>> all;
    for (int i = 1; std::filesystem::exists(dir_ / ("call" + std::to_string(i))); ++i) {
      std::ifstream in(dir_ / ("call" + std::to_string(i)), std::ios::binary);
      const std::string data((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
      std::vector<std::string> args;
      std::size_t start = 0;
      for (std::size_t nul = data.find('\0'); nul != std::string::npos;
           nul = data.find('\0', start)) {
        args.push_back(data.substr(start, nul - start));
        start = nul + 1;
      }
      all.push_back(args);
    }
    return all;
  }

  // The arguments of the only call so far (fails the test when there is not exactly one).
  std::vector<std::string> only_call() const {
    const auto all = calls();
    EXPECT_EQ(all.size(), 1u);
    return all.empty() ? std::vector<std::string>{} : all.front();
  }

  // The LC_ALL the stand-in ran with in call `call`, none when it was not set.
  std::optional<std::string> lc_all(int call) const {
    std::ifstream in(dir_ / ("lc_all" + std::to_string(call)), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  const std::filesystem::path& dir() const { return dir_; }

 private:
  static std::filesystem::path make_dir() {
    std::random_device rd;
    for (;;) {
      auto dir = std::filesystem::temp_directory_path() /
                 ("brevanto-zenity-" + std::to_string(rd()) + std::to_string(rd()));
      if (std::filesystem::create_directory(dir)) return dir;
    }
  }

  void write_file(const std::string& name, const std::string& data) const {
    std::ofstream(dir_ / name, std::ios::binary) << data;
  }

  void write_script() const {
    // The folder name is made of digits and letters only, so it can stand in single quotes.
    write_file(
        "zenity",
        "#!/bin/sh\n"
        "d='" +
            dir_.string() +
            "'\n"
            "i=1\n"
            "while [ -e \"$d/call$i\" ]; do i=$((i+1)); done\n"
            "printf '%s\\0' \"$@\" > \"$d/call$i\"\n"
            "if [ \"${LC_ALL+set}\" = set ]; then printf '%s' \"$LC_ALL\" > \"$d/lc_all$i\"; fi\n"
            "if [ -f \"$d/out$i\" ]; then /bin/cat \"$d/out$i\";\n"
            "elif [ -f \"$d/out\" ]; then /bin/cat \"$d/out\"; fi\n"
            "s=0\n"
            "if [ -f \"$d/status$i\" ]; then read s < \"$d/status$i\";\n"
            "elif [ -f \"$d/status\" ]; then read s < \"$d/status\"; fi\n"
            "exit \"$s\"\n");
    std::filesystem::permissions(dir_ / "zenity", std::filesystem::perms::owner_all);
  }

  std::filesystem::path dir_;
  std::optional<ScopedEnv> display_, wayland_, path_;
};

// Whether a recorded call holds the argument.
inline bool has(const std::vector<std::string>& args, const std::string& arg) {
  return std::find(args.begin(), args.end(), arg) != args.end();
}

}  // namespace brevanto::fixtures
