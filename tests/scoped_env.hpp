// Test helper: sets or removes an environment variable for the life of the object and puts back
// what was there before, so that a test changing DISPLAY, PATH or the language leaves the process
// as it found it.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace brevanto::fixtures {

class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    apply(value);
  }
  ~ScopedEnv() { apply(saved_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void apply(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_.c_str(), value->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace brevanto::fixtures
