#include "log_message.hpp"

#include <gtest/gtest.h>

#include <regex>
#include <vector>

#include "platform.hpp"
#include "temp_dir.hpp"

namespace brevanto {
namespace {

using fixtures::ScopedCurrentPath;
using fixtures::TempDir;

class JournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string create = "CREATE " + dir.str("report.log");
    log_message_f(journal, create);
    out.clear();
  }
  void log(std::string msg) { log_message_f(journal, msg); }
  // What the journal holds after its date line and the empty line that follows it.
  std::string body() {
    const std::string text = dir.read_log("report.log");
    return text.substr(text.find("\n\n") + 2);
  }

  TempDir dir;
  std::string out;
  Console con{out};
  Journal journal{con, "/opt/tools/Brevanto.exe"};
};

TEST_F(JournalTest, CreateWritesTheDateLineAndReplacesAnOldJournal) {
  const std::string text = dir.read_log("report.log");
  EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n\n)"))) << text;
  log("old run");
  std::string again = "CREATE " + dir.str("report.log");
  log_message_f(journal, again);
  EXPECT_EQ(body(), "");
  EXPECT_EQ(out, "old run\n CREATE " + dir.str("report.log") + " 0\n");
}

TEST_F(JournalTest, SlashesAndLineFeedsStartNewLines) {
  log("First/Second");
  log("a//b");
  log("one\ntwo");
  log("ab");
  EXPECT_EQ(body(), "First\nSecond\na\n\nb\none\ntwo\nab\n");
  EXPECT_EQ(out, body());  // the console receives the same lines
}

TEST_F(JournalTest, EscapedSlashIsALiteralSlash) {
  log("\\/home\\/ann\\/task.fpl/cannot be opened");
  EXPECT_EQ(body(), "/home/ann/task.fpl\ncannot be opened\n");
}

// Lines written together are the lines written one by one.
TEST_F(JournalTest, LinesTogetherAsOneByOne) {
  const std::string_view texts[] = {"", "a/b", "\\/x\\/y", "  ", "end  "};
  for (const std::string_view t : texts)
    log_line(journal, t);
  const std::string one_by_one = body();
  ASSERT_EQ(one_by_one, " \na\nb\n/x/y\n \nend\n");
  log_lines(journal, {texts[0], texts[1], texts[2], texts[3], texts[4]});
  EXPECT_EQ(body(), one_by_one + one_by_one);
  EXPECT_EQ(out, body());
}

TEST_F(JournalTest, QuotedMessageIsOneLineWithoutItsQuotes) {
  log("\"C:/data/task.fpl is here\"");
  EXPECT_EQ(body(), "C:/data/task.fpl is here\n");
}

TEST_F(JournalTest, BlankMessageIsOneBlankLine) {
  log("");
  log("    ");
  EXPECT_EQ(body(), " \n \n");
}

TEST_F(JournalTest, SeverityPrefixesAreFramedByBanners) {
  const std::string closing =
      "+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-";
  log("{W}Take care");
  log("{I}");
  log("{E} Broken/twice");
  const std::string expected =
      "+ WARNING +-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-\n"
      "Take care\n" +
      closing +
      "\n"
      "+ INFO +-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-\n"
      " \n" +
      closing +
      "\n"
      "+ ERROR +-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-+-\n"
      " Broken\ntwice\n" +
      closing + "\n";
  EXPECT_EQ(body(), expected);
  EXPECT_EQ(closing.size(), 78u);
}

TEST_F(JournalTest, LongMessagesAreCutAt1024Characters) {
  log(std::string(1500, 'x'));
  EXPECT_EQ(body(), std::string(1024, 'x') + "\n");
}

TEST_F(JournalTest, ConsoleStillReceivesMessagesWhenTheJournalCannotBeWritten) {
  std::string create = "CREATE " + dir.str("missing-folder/report.log");
  log_message_f(journal, create);
  EXPECT_NE(out.find("missing-folder/report.log"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 3), " 2\n");  // the open's status: no such folder
  out.clear();
  log("still shown");
  EXPECT_EQ(out, "still shown\n");
}

TEST_F(JournalTest, ReportLinesAreNeverCommandsBannersOrQuotedText) {
  ScopedCurrentPath cwd(dir.path());
  dir.write("keep.txt", "mine\n");
  for (const std::string& line : std::vector<std::string>{
           "CREATE keep.txt", "CREATE", "CREATE-SEND-NAME", "{E}day.fpl", "\"Q\" : \"y\""}) {
    log_line(journal, line);
  }
  EXPECT_EQ(body(), "CREATE keep.txt\nCREATE\nCREATE-SEND-NAME\n{E}day.fpl\n\"Q\" : \"y\"\n");
  EXPECT_EQ(dir.read("keep.txt"), "mine\n");
  EXPECT_EQ(journal.filnam, dir.str("report.log"));
}

TEST_F(JournalTest, ReportLinesAreNotCut) {
  log_line(journal, std::string(1500, 'x'));
  EXPECT_EQ(body(), std::string(1500, 'x') + "\n");
}

TEST_F(JournalTest, ANameWithANulByteIsRefusedWhole) {
  dir.write("keep.txt", "mine\n");
  const std::string name =
      log_command(journal, "CREATE " + dir.str("keep.txt") + std::string(1, '\0') + "x");
  EXPECT_EQ(name.size(), dir.str("keep.txt").size() + 2);
  EXPECT_EQ(out.substr(out.size() - 4), " 22\n");  // EINVAL: nothing was opened
  EXPECT_EQ(dir.read("keep.txt"), "mine\n");
  out.clear();
  log_line(journal, "console only");
  EXPECT_EQ(out, "console only\n");
  EXPECT_EQ(dir.read("keep.txt"), "mine\n");
}

TEST(JournalDefaultName, ProgramNameAndTimeStamp) {
  TempDir dir;
  ScopedCurrentPath cwd(dir.path());
  std::string out;
  Console con(out);
  Journal journal(con, "C:\\Tools\\Brevanto.exe");
  std::string msg = "CREATE-SEND-NAME";
  log_message_f(journal, msg);
  EXPECT_TRUE(std::regex_match(msg, std::regex(R"(Brevanto_\d{4}_\d\d_\d\d-\d\d_\d\d_\d\d\.log)")))
      << msg;
  EXPECT_TRUE(std::filesystem::exists(dir.path() / msg));
  std::string plain = "CREATE   ";
  Journal other(con, "tool");  // a name without "." takes the stamp at its end
  log_message_f(other, plain);
  EXPECT_TRUE(std::regex_match(other.filnam, std::regex(R"(tool_\d{4}_.*\.log)"))) << other.filnam;
}

TEST(JournalHelpers, MakePrintableAndExtractName) {
  std::string s = "a\nb\n";
  make_printable(s);
  EXPECT_EQ(s, "a/b/");
  EXPECT_EQ(extract_name("dir\\sub\\file.txt"), "file.txt");
  EXPECT_EQ(extract_name("file.txt"), "file.txt");
  // "/" separates folders where the system says so (not on Windows).
  EXPECT_EQ(extract_name("/usr/local/bin/Brevanto"),
            platform::slash_is_separator() ? "Brevanto" : "/usr/local/bin/Brevanto");
  EXPECT_EQ(extract_name("   "), "");
}

}  // namespace
}  // namespace brevanto
