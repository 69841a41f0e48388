// What the flight-plan tests share: a plan written to a temporary folder and read into a model,
// with the console captured, messages in line mode and a stand-in simulator folder for the
// version-3 airspace files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "get_soarix_inst_dir.hpp"
#include "io.hpp"
#include "read_fpl.hpp"
#include "read_fpl_model.hpp"
#include "temp_dir.hpp"
#include "text_file.hpp"

namespace brevanto::fixtures {

class ReadFplTest : public ::testing::Test {
 protected:
  // A file in the temporary folder, written byte for byte.
  std::string write(const std::string& name, std::string_view content) {
    return dir_.write(name, std::string(content));
  }

  // The stand-in version-3 installation: its folder, with the airspace file of `landscape`
  // holding `blocks` airspace blocks.
  void install_landscape(const std::string& landscape, int blocks) {
    std::string air;
    for (int i = 0; i < blocks; ++i)
      air += "AC R\r\nAN Zone " + std::to_string(i) + "\r\nAL GND\r\n";
    write("Sim3/Landscapes/" + landscape + "/" + landscape + ".air", air);
    inst.instpath3 = dir_.str("Sim3");
  }
  void install_without_airspace() {
    std::filesystem::create_directories(dir_.path() / "Sim3" / "Landscapes");
    inst.instpath3 = dir_.str("Sim3");
  }

  // Reads `content` as a plan; the console output collects in `out`.
  void read(std::string_view content, bool qverb = false) {
    read_file(write("plan.fpl", content), qverb);
  }
  void read_file(const std::string& path, bool qverb = false) {
    TextFile plan(path);
    ASSERT_TRUE(plan.is_open()) << path;
    const FplReadState state = read_fpl(con, airspace_count, fpl, plan, qverb);
    nl = state.nl;
    ios = state.ios;
    too_many_turnpoints = state.too_many_turnpoints;
    EXPECT_TRUE(plan.is_open());  // the caller's, to close or to read again
  }

  std::string out;
  Console con{out};
  Journal journal{con, "Brevanto"};
  cmndta001 cmn;
  Io io{con, journal, cmn};
  inst00 inst;
  FlightPlan fpl;
  int nl = -99;
  int ios = -99;
  bool too_many_turnpoints = false;
  const AirspaceCount airspace_count = [this](const std::string& landscape) {
    return landscape_airspace_count(io, inst, landscape);
  };

 private:
  TempDir dir_;
};

}  // namespace brevanto::fixtures
