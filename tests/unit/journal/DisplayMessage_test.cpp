#include "DisplayMessage.hpp"

#include <gtest/gtest.h>

#include <algorithm>

#include "To_GUI.hpp"
#include "zenity_stub.hpp"

namespace brevanto {
namespace {

using fixtures::has;
using fixtures::ZenityStub;
using Args = std::vector<std::string>;

// What each severity shows, and what it leaves in the status for each button.
TEST(DisplayMessage, SeverityTable) {
  struct Case {
    int severity;
    const char* first_arg;
    std::string out;  // the stand-in's answer
    int zenity_status;
    int expected;
  };
  const Case cases[] = {
      {s_info, "--info", "", 1, s_info},           {s_error, "--error", "", 1, s_error},
      {s_warning, "--warning", "", 0, s_warning},  {s_yesno, "--question", "", 0, 1},  // Yes
      {s_yesno, "--question", "", 1, 0},                                               // No
      {s_okcancel, "--question", "", 0, 1},                                            // OK
      {s_okcancel, "--question", "", 1, 0},                                            // Cancel
      {s_yesnocancel, "--question", "", 0, 1},                                         // Yes
      {s_yesnocancel, "--question", "No\n", 1, 2},                                     // No
      {s_yesnocancel, "--question", "", 1, 0},                                         // Cancel
  };
  for (const Case& c : cases) {
    ZenityStub zenity;
    zenity.answer_all(c.out, c.zenity_status);
    std::string out;
    Console con(out);
    int status = c.severity;
    DisplayMessage(con, "T", "m", status);
    EXPECT_EQ(status, c.expected) << "severity " << c.severity << " answered " << c.zenity_status;
    const Args args = zenity.only_call();
    ASSERT_FALSE(args.empty());
    EXPECT_EQ(args[0], c.first_arg) << "severity " << c.severity;
    EXPECT_EQ(has(args, "--ok-label=OK"), c.severity == s_okcancel);
    EXPECT_EQ(has(args, "--extra-button=No"), c.severity == s_yesnocancel);
    EXPECT_FALSE(has(args, "--default-cancel"));  // the first button is the default
  }
}

TEST(DisplayMessage, UnknownSeverityShowsNothing) {
  ZenityStub zenity;
  std::string out;
  Console con(out);
  for (int severity : {7, 6, -1}) {
    int status = severity;
    DisplayMessage(con, "T", "m", status);
    EXPECT_EQ(status, severity);
  }
  EXPECT_TRUE(zenity.calls().empty());
}

}  // namespace
}  // namespace brevanto
