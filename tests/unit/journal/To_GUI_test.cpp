#include "To_GUI.hpp"

#include <gtest/gtest.h>

#include "zenity_stub.hpp"

namespace brevanto {
namespace {

using fixtures::ZenityStub;
using Args = std::vector<std::string>;

// The message as error_message_tit leaves it, and what it writes in line mode.
struct Lines {
  std::string msg, out;
  int status;
};
Lines on_console(std::string msg, int status = s_warning) {
  std::string out;
  {
    Console con(out);
    error_message_tit(con, status, "Title", msg, true);
  }
  return {msg, out, status};
}

TEST(ErrorMessageTit, SlashesBreakLinesAndEscapedSlashesStay) {
  EXPECT_EQ(on_console("Line one/Line two").out, " Line one\nLine two\n");
  EXPECT_EQ(on_console("a\\/b").out, " a/b\n");
  EXPECT_EQ(on_console("/x").out, " \nx\n");
  EXPECT_EQ(on_console("a\\//b").out, " a/\nb\n");
  EXPECT_EQ(on_console("\\/start and end\\/").out, " /start and end/\n");
  EXPECT_EQ(on_console("/").out, " \n\n");
  EXPECT_EQ(on_console("//").out, " \n\n\n");
  EXPECT_EQ(on_console("\\").out, " \\\n");  // a backslash alone is a backslash
  // Line feeds already in the message are kept; trailing blanks are not written.
  EXPECT_EQ(on_console("one\ntwo/three   ").out, " one\ntwo\nthree\n");
}

TEST(ErrorMessageTit, MessageIsChangedInPlaceAndLineModeKeepsTheStatus) {
  const Lines r = on_console("C:\\/Sim\\/x.fpl/not found", s_yesno);
  EXPECT_EQ(r.msg, "C:/Sim/x.fpl\nnot found");
  EXPECT_EQ(r.status, s_yesno);
}

TEST(ErrorMessageTit, BoxGetsMessageAndTitleCut) {
  ZenityStub zenity;
  std::string out;
  Console con(out);
  std::string msg(600, 'm');
  int status = s_info;
  error_message_tit(con, status, std::string(70, 't'), msg, false);
  EXPECT_EQ(zenity.only_call(), (Args{"--info", "--title=" + std::string(63, 't'),
                                      "--text=" + std::string(511, 'm'), "--no-markup"}));
  EXPECT_EQ(msg.size(), 600u);  // the caller's text itself is not cut
  EXPECT_EQ(out, "");
}

TEST(ErrorMessageTit, BoxShowsLinesAndTheDefaultTitleIsVarnek) {
  ZenityStub zenity;
  std::string out;
  Console con(out);
  std::string msg = "{E} File \\/tmp\\/r.fpl/is empty   ";
  int status = s_error;
  error_message(con, status, msg, false);
  std::string only_slashes = "///";
  error_message_tit(con, status, "  Brevanto  ", only_slashes, false);
  const auto calls = zenity.calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], (Args{"--error", "--title=Varnek", "--text={E} File /tmp/r.fpl\nis empty",
                            "--no-markup"}));
  EXPECT_EQ(calls[1], (Args{"--error", "--title=  Brevanto", "--text=\n\n\n", "--no-markup"}));
  EXPECT_EQ(status, s_error);
}

}  // namespace
}  // namespace brevanto
