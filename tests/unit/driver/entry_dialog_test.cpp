// The rules file chosen through the desktop's file dialog (zenity on Linux).
#include <gtest/gtest.h>

#include "entry.hpp"
#include "zenity_stub.hpp"

namespace brevanto {
namespace {

TEST(ChooseRulesFile, ThroughTheFileDialog) {
  fixtures::ZenityStub zenity;
  zenity.answer_all("/home/p/rules/club.fpl\n", 0);
  std::string out;
  Console con(out);
  RunSettings s;
  s.qask = true;
  s.deffil = "/opt/brevanto/DEFAULT_CHECK.fpl";
  choose_rules_file(con, s);
  EXPECT_EQ(s.deffil, "/home/p/rules/club.fpl");
  ASSERT_EQ(zenity.calls().size(), 1u);
  EXPECT_TRUE(out.starts_with(" /opt/brevanto/DEFAULT_CHECK.fpl\n")) << out;
  EXPECT_TRUE(out.ends_with("\n 1\n")) << out;
}

}  // namespace
}  // namespace brevanto
