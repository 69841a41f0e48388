#include "read_fpl_geometry.hpp"

#include <gtest/gtest.h>

#include <string>

namespace brevanto {
namespace {

std::string cleaned(std::string s, std::size_t width) {
  cleanup_name(s, width);
  return s;
}

TEST(CleanupName, EscapesAngleBracketsWithinTheWidth) {
  EXPECT_EQ(cleaned("a<b>c", 32), "a&lt;b&gt;c");
  EXPECT_EQ(cleaned("<<<<<<<<<<", 10), "&lt;&lt;&l");
  EXPECT_EQ(cleaned("a&lt;b & c", 32), "a&lt;b & c");  // no double escaping, "&" stays
  EXPECT_EQ(cleaned("12345678>", 10), "12345678&g");
  EXPECT_EQ(cleaned("><", 80), "&gt;&lt;");
  EXPECT_EQ(cleaned(std::string(80, '>'), 80).size(), 80u);
}

class ComputeDist : public ::testing::Test {
 protected:
  void SetUp() override {
    init_read_fpl(fpl);
    init_glider(fpl);
    init_wp(fpl);
    fpl.nb_wp = 3;
    fpl.tpx[1] = 3000;
    fpl.tpy[1] = 4000;
    fpl.tpx[2] = 3000;
    fpl.tpy[2] = 10000;
    fpl.tpz[2] = 5000;  // elevations play no part
  }
  std::string out;
  Console con{out};
  FlightPlan fpl;
};

TEST_F(ComputeDist, LegsFromTheStartMakeTheTask) {
  compute_dist(con, fpl);
  EXPECT_FLOAT_EQ(fpl.tpdist[1], 5000);
  EXPECT_FLOAT_EQ(fpl.tpdist[2], 6000);
  EXPECT_FLOAT_EQ(fpl.dist_tot, 6000);
  EXPECT_EQ(out, " 1 5000.0\n 2 6000.0\n Tot dist 6000.0\n");
}

TEST_F(ComputeDist, FullCircleFinishEndsAtItsEdge) {
  fpl.tpang[2] = 360;
  fpl.tprad[2] = 500;
  fpl.tpang[1] = 360;  // only the finish counts
  compute_dist(con, fpl);
  EXPECT_FLOAT_EQ(fpl.tpdist[1], 5000);
  EXPECT_FLOAT_EQ(fpl.tpdist[2], 5500);
  EXPECT_FLOAT_EQ(fpl.dist_tot, 5500);

  // A radius beyond the leg is not clamped.
  fpl.tprad[2] = 8000;
  compute_dist(con, fpl);
  EXPECT_FLOAT_EQ(fpl.tpdist[2], -2000);
  EXPECT_FLOAT_EQ(fpl.dist_tot, -2000);
}

TEST_F(ComputeDist, NoLegsWithoutTwoPoints) {
  fpl.tpdist[1] = 77;
  for (int nb_wp : {0, 1, -2147483647 - 1}) {
    out.clear();
    fpl.nb_wp = nb_wp;
    compute_dist(con, fpl);
    EXPECT_FLOAT_EQ(fpl.dist_tot, 0);
    EXPECT_FLOAT_EQ(fpl.tpdist[1], 77);  // not written
    EXPECT_EQ(out, " Tot dist 0.0\n");
  }
  // A count beyond the model measures the legs it has room for.
  fpl.nb_wp = 1000;
  compute_dist(con, fpl);
  EXPECT_FLOAT_EQ(fpl.tpdist[30], 0);
}

TEST(Resets, GiveDefaultsAndKeepWhatSurvivesBetweenPlans) {
  FlightPlan fpl;
  // An earlier plan.
  fpl.fpl_vers = 3;
  fpl.nb_wp = 9;
  fpl.tprad[30] = 10;
  fpl.tpang[30] = 10;
  fpl.tpsec[30] = 4;
  fpl.tpid[30] = 8;
  fpl.tpsecdir[3] = 2;
  fpl.tpnam[30] = "Far";
  fpl.tpdist[5] = 1234;
  fpl.dist_tot = 4321;
  fpl.wzp[2][16][16] = 1;
  fpl.pzp[2][3][10] = 1;
  fpl.pza[3][10] = 1;
  fpl.wznam[16] = "Zone";
  fpl.highcloudscoverage[16] = 3;
  fpl.thermalsoverdevelopment[16] = 0.5f;
  fpl.pressure = 90000;
  fpl.qas_disa[8192] = true;
  fpl.last_dis_as = 8192;
  fpl.nb_as_zones = 12;
  fpl.fpldesc[16] = "Text";
  fpl.taskdate = 45000;
  fpl.jdate = 2460019;
  fpl.starttime = 12;
  fpl.wzcount = 4;
  fpl.randomizeweatheroneachflight = true;
  fpl.aattime = 3600;
  fpl.qaat = true;
  fpl.allowmidaircollisionrecovery = true;
  fpl.maxwingloading = 40;
  fpl.team = 2;
  fpl.glnam = "Std Cirrus";
  fpl.glseat = 2;
  fpl.wmass = 100;
  fpl.qbugwipers = true;
  fpl.vap[3] = 1;
  fpl.pol_a[2] = 1;
  fpl.vmin = 20;
  fpl.vfmax_00 = 50;
  fpl.fmax_00 = 38;
  fpl.gforce = 5.3f;
  fpl.fconv_def[6] = 2;
  fpl.qpolar = true;

  init_read_fpl(fpl);
  init_glider(fpl);
  init_wp(fpl);

  EXPECT_EQ(fpl.nb_wp, 0);
  EXPECT_EQ(fpl.tprad[30], 3000);
  EXPECT_EQ(fpl.tpang[30], 90);
  EXPECT_EQ(fpl.tpsec[30], 1);
  EXPECT_EQ(fpl.tpid[30], 0);
  EXPECT_EQ(fpl.tpsecdir[3], 0);
  EXPECT_EQ(fpl.tpnam[30], "");
  EXPECT_FLOAT_EQ(fpl.wzp[2][16][16], 0);
  EXPECT_FLOAT_EQ(fpl.pzp[2][3][10], 0);
  EXPECT_FLOAT_EQ(fpl.pza[3][10], 0);
  EXPECT_EQ(fpl.wznam[16], "");
  EXPECT_EQ(fpl.highcloudscoverage[16], 0);
  EXPECT_FLOAT_EQ(fpl.thermalsoverdevelopment[16], 0);
  EXPECT_FLOAT_EQ(fpl.pressure, 101325);
  EXPECT_FALSE(fpl.qas_disa[8192]);
  EXPECT_EQ(fpl.last_dis_as, -1);
  EXPECT_EQ(fpl.nb_as_zones, 0);
  EXPECT_EQ(fpl.fpldesc[16], "");
  EXPECT_FLOAT_EQ(fpl.aattime, 0);
  EXPECT_FALSE(fpl.qaat);
  EXPECT_FALSE(fpl.allowmidaircollisionrecovery);
  EXPECT_EQ(fpl.maxwingloading, 0);
  EXPECT_EQ(fpl.glnam, "");
  EXPECT_EQ(fpl.glseat, 1);
  EXPECT_FLOAT_EQ(fpl.wmass, 0);
  EXPECT_FALSE(fpl.qbugwipers);
  EXPECT_FLOAT_EQ(fpl.vap[3], 0);
  EXPECT_FLOAT_EQ(fpl.pol_a[2], 0);
  EXPECT_FLOAT_EQ(fpl.vmin, 0);

  // Not reset.
  EXPECT_EQ(fpl.fpl_vers, 3);
  EXPECT_FLOAT_EQ(fpl.tpdist[5], 1234);
  EXPECT_FLOAT_EQ(fpl.dist_tot, 4321);
  EXPECT_EQ(fpl.taskdate, 45000);
  EXPECT_EQ(fpl.jdate, 2460019);
  EXPECT_FLOAT_EQ(fpl.starttime, 12);
  EXPECT_EQ(fpl.wzcount, 4);
  EXPECT_TRUE(fpl.randomizeweatheroneachflight);
  EXPECT_EQ(fpl.team, 2);
  EXPECT_FLOAT_EQ(fpl.vfmax_00, 50);
  EXPECT_FLOAT_EQ(fpl.fmax_00, 38);
  EXPECT_FLOAT_EQ(fpl.gforce, 5.3f);
  EXPECT_FLOAT_EQ(fpl.fconv_def[6], 2);
  EXPECT_TRUE(fpl.qpolar);
}

}  // namespace
}  // namespace brevanto
