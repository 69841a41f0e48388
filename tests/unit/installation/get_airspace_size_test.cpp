#include "get_airspace_size.hpp"

#include <gtest/gtest.h>

#include "captured_boxes.hpp"
#include "wine_prefix_fixture.hpp"

namespace brevanto {
namespace {

using fixtures::CapturedIo;
using fixtures::TempPrefix;

struct Airspace {
  TempPrefix prefix;
  int count(const std::string& content) {
    prefix.write_c("Sim3\\Landscapes\\Alps\\Alps.air", content);
    CapturedIo c;
    const int n = get_airspace_size(c.io, "C:\\Sim3\\Landscapes\\Alps\\Alps.air   ");
    EXPECT_EQ(c.out, "");  // no message for a file that opens
    return n;
  }
};

TEST(GetAirspaceSize, CountsTheLinesBeginningWithAC) {
  Airspace a;
  EXPECT_EQ(a.count("AC R\nAN Zone 1\nAC Q\nAN Zone 2\n"), 2);
  EXPECT_EQ(a.count("ac R\n AC Q\nA C P\nAN AC\n*AC\n"), 0);
  EXPECT_EQ(a.count("AC R\r\nAN Zone 1\r\nAC Q\r\n"), 2);
  EXPECT_EQ(a.count("AC"), 1);  // a last line without line end
  EXPECT_EQ(a.count(""), 0);
  // A line of 1000 characters is one line: its tail (here "AC" at column 257) starts no other.
  EXPECT_EQ(
      a.count("AC R\nAN " + std::string(253, 'x') + "AC" + std::string(742, 'y') + "\nAC Q\n"), 2);
  EXPECT_EQ(a.count("AC " + std::string(997, 'z') + "\r\nAC Q\n"), 2);
}

TEST(GetAirspaceSize, MissingFileIsReportedInTheUsersLanguage) {
  TempPrefix prefix;
  CapturedIo c;
  fixtures::CapturedBoxes boxes;
  EXPECT_EQ(get_airspace_size(c.io, "C:\\Sim3\\Landscapes\\Alps\\Alps.air"), 0);
  EXPECT_EQ(
      boxes.shown(),
      "Varnek [error]\nC:\\Sim3\\Landscapes\\Alps\\Alps.air\nAirspace file : error opening\n");
  c.cmn.language = Language::french;
  EXPECT_EQ(get_airspace_size(c.io, "C:\\Sim3\\Alps.air"), 0);
  const std::string french = boxes.shown();
  EXPECT_TRUE(french.ends_with(
                  "\nC:\\Sim3\\Alps.air\nFichier d'espace a\xE9rien : ouverture impossible\n") ||
              french.ends_with(
                  "\nC:\\Sim3\\Alps.air\nFichier d'espace a\xC3\xA9rien : ouverture impossible\n"))
      << french;
  // A native path keeps its slashes; a long one is not cut.
  c.cmn.language = Language::english;
  const std::string native = prefix.root().string() + "/" + std::string(300, 'n') + "/x.air";
  EXPECT_EQ(get_airspace_size(c.io, native), 0);
  EXPECT_TRUE(
      boxes.shown().ends_with("Varnek [error]\n" + native + "\nAirspace file : error opening\n"));
  EXPECT_EQ(c.out, "");  // the console has only the box's text
}

}  // namespace
}  // namespace brevanto
