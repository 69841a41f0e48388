// The message boxes a test makes the program show, as a run without a desktop shows them: written
// on standard error ("Title [icon]" and the message's lines), captured here while the object
// lives. The desktop's variables are removed meanwhile, so that no real box opens.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "scoped_env.hpp"

namespace brevanto::fixtures {

class CapturedBoxes {
 public:
  CapturedBoxes() { ::testing::internal::CaptureStderr(); }
  ~CapturedBoxes() { take(); }
  CapturedBoxes(const CapturedBoxes&) = delete;
  CapturedBoxes& operator=(const CapturedBoxes&) = delete;

  // What was shown so far; the capture goes on.
  std::string shown() {
    take();
    ::testing::internal::CaptureStderr();
    capturing_ = true;
    return text_;
  }

 private:
  void take() {
    if (!capturing_) return;
    text_ += ::testing::internal::GetCapturedStderr();
    capturing_ = false;
  }
  ScopedEnv display_{"DISPLAY", std::nullopt};
  ScopedEnv wayland_{"WAYLAND_DISPLAY", std::nullopt};
  bool capturing_ = true;
  std::string text_;
};

}  // namespace brevanto::fixtures
