#include "read_fpl.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captured_boxes.hpp"
#include "dates.hpp"
#include "read_fpl_fixture.hpp"
#include "soarix_machine.hpp"

namespace brevanto::fixtures {
namespace {

using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

std::string data_file(const std::string& name) {
  return std::string(BREVANTO_TEST_DATA) + "/" + name;
}

// Plan lines joined with CR LF, as the simulator writes them.
std::string crlf(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines)
    text += l + "\r\n";
  return text;
}

TEST_F(ReadFplTest, CompleteVersion3Plan) {
  install_landscape("Vallee Brevanto", 3);
  read_file(data_file("full_v3.fpl"));

  EXPECT_EQ(ios, 0);  // the blank line after the description
  EXPECT_EQ(nl, 215);
  EXPECT_EQ(fpl.fpl_vers, 3);
  EXPECT_EQ(fpl.landscape, "Vallee Brevanto");
  EXPECT_EQ(fpl.nb_as_zones, 3);
  EXPECT_THAT(out, HasSubstr("Vallee Brevanto\\Vallee Brevanto.air\n"));
  EXPECT_THAT(out, HasSubstr(" Airspace zones :  3\n"));

  // Turnpoints: the "Count=9" after the description is not read.
  EXPECT_EQ(fpl.nb_wp, 5);
  EXPECT_EQ(fpl.nwpmax, 4);
  EXPECT_EQ(fpl.tpnam[0], "Saint-Auban &lt;LFMX&gt;");
  EXPECT_EQ(fpl.tpnam[1], "Start Line");
  EXPECT_EQ(fpl.tpnam[2], "Sisteron &gt; Pont");
  EXPECT_EQ(fpl.tpnam[3], "Col & Pic");
  EXPECT_EQ(fpl.tpnam[5], "");
  EXPECT_FLOAT_EQ(fpl.tpz[0], 459.5f);
  EXPECT_EQ(fpl.tpair[0], 1);
  EXPECT_EQ(fpl.tpsec[0], 0);
  EXPECT_FLOAT_EQ(fpl.tpx[1], 13000.0f);
  EXPECT_FLOAT_EQ(fpl.tpz[1], 612.25f);
  EXPECT_EQ(fpl.tpsecdir[1], 2);
  EXPECT_EQ(fpl.tprad[1], 2500);  // 2499.5
  EXPECT_EQ(fpl.tpang[1], 180);
  EXPECT_FLOAT_EQ(fpl.tpalt[1], 1500);  // 1500.4
  EXPECT_FLOAT_EQ(fpl.tpwid[1], 4001);  // 4000.5
  EXPECT_FLOAT_EQ(fpl.tphei[1], 2000);
  EXPECT_FLOAT_EQ(fpl.tpazi[1], 90);   // 1.5708 rad
  EXPECT_FLOAT_EQ(fpl.tpazi[2], -45);  // -0.7854 rad
  EXPECT_FLOAT_EQ(fpl.tpazi[3], 180);  // 3.1415927 rad
  EXPECT_EQ(fpl.tprad[4], 1000);
  EXPECT_EQ(fpl.tpang[4], 360);
  EXPECT_EQ(fpl.tprad[5], 3000);  // not in the plan: working defaults
  EXPECT_EQ(fpl.tpang[5], 90);
  EXPECT_EQ(fpl.tpsec[5], 1);

  // Legs: 5000 (take-off to start, not in the task), 6000, 10000, and 15000 less the finish
  // radius of the full-circle finish; the full circle at point 3 changes nothing.
  EXPECT_FLOAT_EQ(fpl.tpdist[1], 5000);
  EXPECT_FLOAT_EQ(fpl.tpdist[2], 6000);
  EXPECT_FLOAT_EQ(fpl.tpdist[3], 10000);
  EXPECT_FLOAT_EQ(fpl.tpdist[4], 14000);
  EXPECT_FLOAT_EQ(fpl.dist_tot, 30000);
  EXPECT_THAT(out, HasSubstr(" 4 14000.0\n Tot dist 30000.0\n IOS= 0\n"));

  // Penalty zones.
  EXPECT_EQ(fpl.nb_pz, 2);
  EXPECT_EQ(fpl.npzmax, 1);
  EXPECT_FLOAT_EQ(fpl.pzp[1][0][0], 15000.5f);
  EXPECT_FLOAT_EQ(fpl.pzp[2][2][0], 26000.25f);
  EXPECT_FLOAT_EQ(fpl.pzp[1][3][1], -2000);
  EXPECT_FLOAT_EQ(fpl.pzp[2][3][1], 32000);
  EXPECT_FLOAT_EQ(fpl.pza[2][0], 2500.5f);
  EXPECT_FLOAT_EQ(fpl.pza[3][0], 1.5f);
  EXPECT_FLOAT_EQ(fpl.pza[1][1], 1000);
  EXPECT_FLOAT_EQ(fpl.pza[3][1], 2);
  EXPECT_THAT(out, HasSubstr(" allocate 132 132\n"));

  // Disabled airspaces.
  int disabled = 0;
  for (bool q : fpl.qas_disa)
    disabled += q;
  EXPECT_EQ(disabled, 3);
  EXPECT_TRUE(fpl.qas_disa[2] && fpl.qas_disa[5] && fpl.qas_disa[17]);
  EXPECT_EQ(fpl.last_dis_as, 17);

  // Weather: the zones, zone 0 in full.
  EXPECT_EQ(fpl.wzcount, 3);
  EXPECT_FALSE(fpl.randomizeweatheroneachflight);
  EXPECT_EQ(fpl.wznam[0], "Base");
  EXPECT_EQ(fpl.pointcount[0], 0);
  EXPECT_FLOAT_EQ(fpl.movedir[0], 0);
  EXPECT_FLOAT_EQ(fpl.borderwidth[0], 5000);
  EXPECT_FLOAT_EQ(fpl.winddir[0], 270);
  EXPECT_FLOAT_EQ(fpl.windspeed[0], 4.5f);
  EXPECT_FLOAT_EQ(fpl.windupperspeed[0], 8);
  EXPECT_EQ(fpl.winddirvariation[0], 10);
  EXPECT_EQ(fpl.windspeedvariation[0], 2);
  EXPECT_EQ(fpl.windturbulence[0], 1);
  EXPECT_FLOAT_EQ(fpl.thermalstemp[0], 26.5f + 273.15f);
  EXPECT_EQ(fpl.thermalstempvariation[0], 2);
  EXPECT_FLOAT_EQ(fpl.thermalsdew[0], 11.25f);
  EXPECT_EQ(fpl.thermalsstrength[0], 3);
  EXPECT_EQ(fpl.thermalsstrengthvariation[0], 1);
  EXPECT_FLOAT_EQ(fpl.thermalsinversionheight[0], 2450);  // 2449.5
  EXPECT_FLOAT_EQ(fpl.thermalsoverdevelopment[0], 0.25f);
  EXPECT_EQ(fpl.thermalswidth[0], 2);
  EXPECT_EQ(fpl.thermalswidthvariation[0], 1);
  EXPECT_EQ(fpl.thermalsactivity[0], 3);
  EXPECT_EQ(fpl.thermalsactivityvariation[0], 1);
  EXPECT_EQ(fpl.thermalsturbulence[0], 1);
  EXPECT_EQ(fpl.thermalsflatsactivity[0], 2);
  EXPECT_EQ(fpl.thermalsstreeting[0], 1);
  EXPECT_EQ(fpl.thermalsbugs[0], 0);
  EXPECT_EQ(fpl.wavesstability[0], 2);
  EXPECT_EQ(fpl.wavesmoisture[0], 1);
  EXPECT_EQ(fpl.highcloudscoverage[0], 1);
  EXPECT_EQ(fpl.wznam[1], "Alpes du Sud");
  EXPECT_EQ(fpl.pointcount[1], 4);
  EXPECT_FLOAT_EQ(fpl.wzp[1][1][1], 50000);
  EXPECT_FLOAT_EQ(fpl.wzp[2][2][1], 40000);
  EXPECT_FLOAT_EQ(fpl.windspeed[1], 7);
  EXPECT_FLOAT_EQ(fpl.thermalstemp[1], 22 + 273.15f);
  EXPECT_EQ(fpl.wznam[2], "Plaine");
  EXPECT_FLOAT_EQ(fpl.wzp[1][1][2], 90000.5f);
  EXPECT_FLOAT_EQ(fpl.wzp[2][2][2], -20000);
  EXPECT_FLOAT_EQ(fpl.thermalstemp[2], -2.5f + 273.15f);
  EXPECT_FLOAT_EQ(fpl.thermalsinversionheight[2], -1);  // -0.5: half away from zero
  EXPECT_FLOAT_EQ(fpl.pressure, 100950);                // the last zone's 1009.5 hPa

  // Glider.
  EXPECT_EQ(fpl.glclass, "Standard");
  EXPECT_EQ(fpl.glnam, "Std Cirrus");
  EXPECT_EQ(fpl.glskin, "Default");
  EXPECT_FLOAT_EQ(fpl.wmass, 80.5f);
  EXPECT_FLOAT_EQ(fpl.fmass, 10);
  EXPECT_FLOAT_EQ(fpl.cgbias, -0.25f);
  EXPECT_EQ(fpl.glseat, 1);
  EXPECT_TRUE(fpl.qbugwipers);

  // Options.
  EXPECT_EQ(fpl.taskdate, 45000);
  EXPECT_EQ(fpl.jdate, jd(2023, 3, 15));
  EXPECT_FLOAT_EQ(fpl.starttime, 12.5f);
  EXPECT_FLOAT_EQ(fpl.starttimewindow, 0.5f);
  EXPECT_FLOAT_EQ(fpl.racestartdelay, 0.25f);
  EXPECT_FALSE(fpl.qaat);
  EXPECT_EQ(fpl.iconsvisiblerange, 20);
  EXPECT_EQ(fpl.turnpointhelpersrange, 50);
  EXPECT_TRUE(fpl.allowbugwipers);
  EXPECT_TRUE(fpl.allowpda);
  EXPECT_FALSE(fpl.allowrealtimescoring);
  EXPECT_TRUE(fpl.allowexternalview);
  EXPECT_FALSE(fpl.allowpadlockview);  // "True" is not a yes
  EXPECT_TRUE(fpl.allowsmoke);
  EXPECT_FALSE(fpl.allowheightrecovery);
  EXPECT_TRUE(fpl.allowmidaircollisionrecovery);
  EXPECT_EQ(fpl.penaltycloudflying, 1000);
  EXPECT_EQ(fpl.penaltywrongwindowenterance, 100);
  EXPECT_EQ(fpl.penaltypenaltyzoneenterance, 250);
  EXPECT_EQ(fpl.maxstartgroundspeed, 170);
  EXPECT_EQ(fpl.penaltylowfinish, 30);
  EXPECT_EQ(fpl.randseed, 987654);
  EXPECT_EQ(fpl.starttype, 1);
  EXPECT_EQ(fpl.startheight, 1200);
  EXPECT_FLOAT_EQ(fpl.ropelength, 40.5f);
  EXPECT_EQ(fpl.maxwingloading, 50);
  EXPECT_EQ(fpl.maxteams, 2);

  // Description: three lines; the keys after the blank line are not read.
  EXPECT_EQ(fpl.fpldesc[1], "Brevanto test task over the valley");
  EXPECT_EQ(fpl.fpldesc[2], "Turnpoint 3 is a mountain pass:");
  EXPECT_EQ(fpl.fpldesc[3], "cross it above 2500 m.");
  EXPECT_EQ(fpl.fpldesc[4], "");
}

TEST_F(ReadFplTest, CompleteVersion2Plan) {
  // What the previous plan left in the options that a version-2 plan does not carry.
  fpl.aattime = 3600;
  fpl.qaat = true;
  fpl.maxstartgroundspeed = 170;
  read_file(data_file("full_v2.fpl"), true);

  EXPECT_EQ(ios, -1);
  EXPECT_EQ(nl, 70);
  EXPECT_EQ(fpl.fpl_vers, 2);
  EXPECT_THAT(out,
              HasSubstr(" Soarix_version=2\n S2 FLIGHTPLAN - Reset AAT & MaxStartGroundSpeed\n"));
  EXPECT_THAT(out, HasSubstr(" Number of legs= 2\n"));
  EXPECT_FLOAT_EQ(fpl.aattime, 3600);
  EXPECT_TRUE(fpl.qaat);
  EXPECT_EQ(fpl.maxstartgroundspeed, 170);

  // No airspace count for version 2.
  EXPECT_EQ(fpl.landscape, "Plaine Ouest");
  EXPECT_EQ(fpl.nb_as_zones, 0);
  EXPECT_THAT(out, Not(HasSubstr("Airspace zones")));
  EXPECT_THAT(out, Not(HasSubstr("allocate")));

  EXPECT_EQ(fpl.nb_wp, 4);
  EXPECT_EQ(fpl.tpnam[0], "Aerodrome &lt;Nord&gt;");
  EXPECT_EQ(fpl.tpnam[2], "Chateau d'eau");
  EXPECT_FLOAT_EQ(fpl.tpz[0], 150.5f);
  EXPECT_EQ(fpl.tprad[1], 1001);  // 1000.5
  EXPECT_FLOAT_EQ(fpl.tpazi[1], -90);
  EXPECT_EQ(fpl.tpsec[2], 1);  // not given: the default
  EXPECT_FLOAT_EQ(fpl.tpdist[1], 10000);
  EXPECT_FLOAT_EQ(fpl.tpdist[2], 12000);
  EXPECT_FLOAT_EQ(fpl.tpdist[3], 8000);  // 10000 less the finish radius 2000
  EXPECT_FLOAT_EQ(fpl.dist_tot, 20000);

  EXPECT_EQ(fpl.nb_pz, 0);
  EXPECT_EQ(fpl.last_dis_as, 0);  // an empty list still sets it to 0

  // One weather zone, the base.
  EXPECT_EQ(fpl.wzcount, 1);
  EXPECT_EQ(fpl.wznam[0], "Base");
  EXPECT_EQ(fpl.pointcount[0], 0);
  EXPECT_FLOAT_EQ(fpl.winddir[0], 225);
  EXPECT_FLOAT_EQ(fpl.windspeed[0], 5);
  EXPECT_FLOAT_EQ(fpl.windupperspeed[0], 9.5f);
  EXPECT_EQ(fpl.winddirvariation[0], 15);
  EXPECT_FLOAT_EQ(fpl.thermalstemp[0], 295.15f);
  EXPECT_FLOAT_EQ(fpl.thermalsdew[0], 9.5f);
  EXPECT_FLOAT_EQ(fpl.thermalsinversionheight[0], 1801);
  EXPECT_EQ(fpl.highcloudscoverage[0], 2);
  EXPECT_FLOAT_EQ(fpl.pressure, 101300);

  EXPECT_EQ(fpl.glclass, "Club");
  EXPECT_EQ(fpl.glnam, "Club Libelle");
  EXPECT_FLOAT_EQ(fpl.fmass, 5.5f);
  EXPECT_FLOAT_EQ(fpl.cgbias, 0.1f);
  EXPECT_EQ(fpl.glseat, 2);
  EXPECT_FALSE(fpl.qbugwipers);

  EXPECT_EQ(fpl.taskdate, 44000);
  EXPECT_EQ(fpl.jdate, 44000 + 2415019);
  EXPECT_FLOAT_EQ(fpl.starttime, 13);
  EXPECT_TRUE(fpl.allowpda);
  EXPECT_EQ(fpl.penaltycloudflying, 500);
  EXPECT_FLOAT_EQ(fpl.ropelength, 50);

  EXPECT_EQ(fpl.fpldesc[1], "Plan de version 2");
  EXPECT_EQ(fpl.fpldesc[2], "Ligne deux");
}

TEST_F(ReadFplTest, TraceLinesComeInTheirOrder) {
  read(crlf({"[Version]", "Soarix version=3000", "", "[Task]", "Count=3", "TPPosX1=3000",
             "TPPosY1=4000"}));
  EXPECT_EQ(out,
            " fpl_vers 0\n"
            " 0 [Version] 132\n"
            " 1 [Version] 9\n"
            " 1 [Version] \n"
            " 1 Soarix version=3000 132\n"
            " 2 Soarix version=3000 19\n"
            " 2 Soarix version 3000\n"
            " 2  132\n"
            " 2 [Task] 132\n"
            " 3 [Task] 6\n"
            " 3 [Task] \n"
            " 3 Count=3 132\n"
            " 4 Count=3 7\n"
            " 4 Count 3\n"
            " 4 TPPosX1=3000 132\n"
            " 5 TPPosX1=3000 12\n"
            " 5 TPPosX1 3000\n"
            " 5 TPPosY1=4000 132\n"
            " 6 TPPosY1=4000 12\n"
            " 6 TPPosY1 4000\n"
            " 1 5000.0\n"
            " 2 5000.0\n"
            " Tot dist 5000.0\n"
            " IOS= -1\n");
}

TEST_F(ReadFplTest, EmptyFileLeavesDefaults) {
  fpl.nb_wp = 7;
  fpl.tprad[30] = 5;
  fpl.tpid[30] = 4;
  fpl.glseat = 2;
  fpl.pressure = 9;
  fpl.qas_disa[8192] = true;
  fpl.last_dis_as = 8192;
  fpl.fpldesc[16] = "old";
  read("");
  EXPECT_EQ(nl, 0);
  EXPECT_EQ(ios, -1);
  EXPECT_EQ(fpl.nb_wp, 0);
  EXPECT_EQ(fpl.tprad[30], 3000);
  EXPECT_EQ(fpl.tpang[30], 90);
  EXPECT_EQ(fpl.tpsec[30], 1);
  EXPECT_EQ(fpl.tpid[30], 0);
  EXPECT_EQ(fpl.glseat, 1);
  EXPECT_FLOAT_EQ(fpl.pressure, 101325);
  EXPECT_FALSE(fpl.qas_disa[8192]);
  EXPECT_EQ(fpl.last_dis_as, -1);
  EXPECT_EQ(fpl.fpldesc[16], "");
  EXPECT_EQ(out, " fpl_vers 0\n Tot dist 0.0\n IOS= -1\n");

  // The version-2 fix-up follows the version the previous plan left.
  fpl.fpl_vers = 2;
  fpl.wzcount = 5;
  read("");
  EXPECT_EQ(fpl.wzcount, 1);
  EXPECT_EQ(fpl.wznam[0], "Base");
}

TEST_F(ReadFplTest, BinaryAndOversizedLinesDoNotBreakTheReader) {
  // NUL bytes and no line end: one record, cut at 132, matching nothing.
  std::string binary(5000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) {
    const char c = static_cast<char>((i * 37 + 1) % 256);
    if (c != '\n' && c != '\r') binary[i] = c;
  }
  read(binary);
  EXPECT_EQ(ios, -1);
  EXPECT_EQ(nl, 1);
  EXPECT_EQ(fpl.nb_wp, 0);

  // A line of 100,000 characters is cut at 132; the next line is read as usual.
  out.clear();
  read("[Task]\r\nTPName1=" + std::string(100000, 'x') + "\r\nTPPosX1=" + std::string(100000, '7') +
       "\r\nTPPosY1=12.5\r\n" + std::string(100000, '=') + "\r\n");
  EXPECT_EQ(ios, -1);
  EXPECT_EQ(nl, 5);
  EXPECT_EQ(fpl.tpnam[1], std::string(32, 'x'));
  EXPECT_FLOAT_EQ(fpl.tpx[1], 0);  // 124 sevens: out of the range of a real
  EXPECT_FLOAT_EQ(fpl.tpy[1], 12.5f);
  EXPECT_THAT(out, HasSubstr(" 2 TPName1=" + std::string(124, 'x') + " 132\n"));
}

TEST_F(ReadFplTest, CarriageReturnsAreNotPartOfValues) {
  read("[Plane]\r\nName=Std Cirrus\r\nSeat=2\r\n[Task]\r\nTPName0=Home\r\n");
  EXPECT_EQ(fpl.glnam, "Std Cirrus");
  EXPECT_EQ(fpl.glseat, 2);
  EXPECT_EQ(fpl.tpnam[0], "Home");
  EXPECT_THAT(out, Not(HasSubstr("\r")));
}

TEST_F(ReadFplTest, ReadErrorEndsTheReadingWithPositiveStatus) {
  // A regular file that opens, but whose first read fails: this process's memory at address 0.
  TextFile plan("/proc/self/mem");
  ASSERT_TRUE(plan.is_open());
  const FplReadState state = read_fpl(con, airspace_count, fpl, plan, false);
  EXPECT_GT(state.ios, 0);
  EXPECT_EQ(state.nl, 0);
  ios = state.ios;
  EXPECT_THAT(out, EndsWith(" Tot dist 0.0\n IOS= " + std::to_string(ios) + "\n"));
}

TEST_F(ReadFplTest, SectionHeadersAreExact) {
  read(crlf({"[Task]   ", "Count=4", " [Task]", "[task]", "[Weather]", "Count=7", "[Other]",
             "WindSpeed=3", "[Task]", "[Other]", "Count=6"}));
  // "[Task]" with trailing blanks opens the task; with a leading blank or in lower case it is no
  // header; an unknown section leaves the current one open.
  EXPECT_EQ(fpl.nb_wp, 6);
  EXPECT_FLOAT_EQ(fpl.windspeed[0], 3);

  read(crlf(
      {"[Task]", "Count=4", "[Weather]", "Count=7", "[Version]", "Count=8", "[Plane]", "Count=9"}));
  EXPECT_EQ(fpl.nb_wp, 4);  // "Count" counts only in [Task]
}

TEST_F(ReadFplTest, EmbeddedPlanLinesReadLikeAPlan) {
  read(crlf({"LSRXFPL[Task]", "LSRXFPLCount=3", "LSRXFPLTPName1=Start", "[Plane]",
             "Name=Std Cirrus", "LSRXFlightInfo", "[Task]", "Count=5"}));
  EXPECT_EQ(ios, 0);
  EXPECT_EQ(nl, 5);  // the stop line is not counted
  EXPECT_EQ(fpl.nb_wp, 3);
  EXPECT_EQ(fpl.tpnam[1], "Start");
  EXPECT_EQ(fpl.glnam, "Std Cirrus");
}

TEST_F(ReadFplTest, VersionLine) {
  read(crlf({"Soarix version=3999"}), true);
  EXPECT_EQ(fpl.fpl_vers, 3);
  EXPECT_THAT(out, HasSubstr(" Soarix_version=3\n"));
  EXPECT_THAT(out, Not(HasSubstr("S2 FLIGHTPLAN")));

  out.clear();
  read(crlf({"Soarix version=12000"}), true);
  EXPECT_EQ(fpl.fpl_vers, 12);
  EXPECT_THAT(out, HasSubstr(" Soarix_version=*\n"));

  // A version that is not an integer is version 0, whatever the previous plan was: no
  // version-2 fix-up of the options or the weather.
  for (const char* value : {"3000.0", "", "abc", "99999999999"}) {
    fpl.fpl_vers = 2;
    fpl.aattime = 3600;
    read(crlf({"AATTime=1800", "Soarix version=" + std::string(value), "[Weather]", "WZCount=4"}));
    EXPECT_EQ(fpl.fpl_vers, 0) << value;
    EXPECT_FLOAT_EQ(fpl.aattime, 1800) << value;
    EXPECT_EQ(fpl.wzcount, 4) << value;
  }

  // Version 2: the options carried over, unless the plan gives them after the version line.
  fpl.aattime = 3600;
  fpl.qaat = true;
  fpl.maxstartgroundspeed = 150;
  read(crlf({"AATTime=1800", "Soarix version=2000", "AAT=0"}));
  EXPECT_EQ(fpl.fpl_vers, 2);
  EXPECT_FLOAT_EQ(fpl.aattime, 3600);
  EXPECT_FALSE(fpl.qaat);
  EXPECT_EQ(fpl.maxstartgroundspeed, 150);

  // Version 3 does not carry them over.
  read(crlf({"Soarix version=3000"}));
  EXPECT_FLOAT_EQ(fpl.aattime, 0);
  EXPECT_EQ(fpl.maxstartgroundspeed, 0);
}

TEST_F(ReadFplTest, TurnpointCountOf31IsTheLimit) {
  read(crlf({"[Task]", "Count=31", "TPPosX30=100"}), true);
  EXPECT_EQ(fpl.nb_wp, 31);
  EXPECT_THAT(out, HasSubstr(" Number of legs=29\n"));
  EXPECT_FLOAT_EQ(fpl.tpdist[30], 100);
  EXPECT_FLOAT_EQ(fpl.dist_tot, 100);

  out.clear();
  read(crlf({"[Task]", "Count=32", "TPName1=never read"}));
  EXPECT_TRUE(too_many_turnpoints);
  // Nothing is read or computed after it: the run stops with the message.
  EXPECT_THAT(out, Not(HasSubstr("never read")));
  EXPECT_THAT(out, Not(HasSubstr("IOS=")));
  EXPECT_EQ(fpl.tpnam[1], "");
  EXPECT_EQ(too_many_turnpoints_message(Language::english),
            "XCSoar does not support more than 30 turnpoints");
  EXPECT_EQ(too_many_turnpoints_message(Language::french),
            "XCSoar n'accepte pas plus que 30 points de virage");
}

TEST_F(ReadFplTest, TurnpointIndicesOutsideTheModelAreIgnored) {
  read(crlf({"TPPosX2=5"}));
  const FlightPlan expected = fpl;
  read(crlf({"TPPosX2=5", "TPName-1=minus", "TPName31=past", "TPPosX8193=1", "TPPosX99999999999=2",
             "TPPosY-99999999999=3", "TPRadius31=100"}));
  EXPECT_TRUE(fpl == expected);
  EXPECT_EQ(fpl.nwpmax, 2);

  // An index that is no number leaves the previous one in force; 30 is the last valid one.
  read(crlf({"TPPosX30=1", "TPPosX3=4", "TPPosY=7", "TPPosZx=9"}));
  EXPECT_FLOAT_EQ(fpl.tpx[30], 1);
  EXPECT_FLOAT_EQ(fpl.tpy[3], 7);
  EXPECT_FLOAT_EQ(fpl.tpz[3], 9);
  EXPECT_EQ(fpl.nwpmax, 30);
}

TEST_F(ReadFplTest, TurnpointValues) {
  read(crlf({"TPName3=A<B>", "TPRadius1=499.5", "TPRadius2=-499.5", "TPAzimuth2=1.5708",
             "TPAngle4=44.5", "TPName5=" + std::string(20, '<'), "TPAirport1=1.0",
             "TPSectorType1= 2 ", "TPSectorDirection1=3,4"}));
  EXPECT_EQ(fpl.tpnam[3], "A&lt;B&gt;");
  EXPECT_EQ(fpl.tprad[1], 500);
  EXPECT_EQ(fpl.tprad[2], -500);
  EXPECT_FLOAT_EQ(fpl.tpazi[2], 90);
  EXPECT_EQ(fpl.tpang[4], 45);
  EXPECT_EQ(fpl.tpnam[5], "&lt;&lt;&lt;&lt;&lt;&lt;&lt;&lt;");  // cut at 32
  EXPECT_EQ(fpl.tpair[1], 0);                                   // an integer field takes no "1.0"
  EXPECT_EQ(fpl.tpsec[1], 2);
  EXPECT_EQ(fpl.tpsecdir[1], 3);
}

TEST_F(ReadFplTest, PenaltyZones) {
  read(crlf({"PZCount=3", "PZPos2Y5=1234.5", "PZPos25=7", "PZPos3X10=-1", "PZBase4=100",
             "PZTop4=2000.5", "PZPenaltyTimeFactor4=1.25", "PZTop=3000"}));
  EXPECT_EQ(fpl.nb_pz, 3);
  EXPECT_FLOAT_EQ(fpl.pzp[2][2][5], 1234.5f);
  EXPECT_FLOAT_EQ(fpl.pzp[1][3][10], -1);
  EXPECT_FLOAT_EQ(fpl.pza[1][4], 100);
  EXPECT_FLOAT_EQ(fpl.pza[2][4], 3000);  // no index: the last zone's
  EXPECT_FLOAT_EQ(fpl.pza[3][4], 1.25f);
  EXPECT_EQ(fpl.npzmax, 10);

  // Corners above 3, zones above 10 or negative: the line changes nothing.
  read(crlf({"PZPos1X2=5"}));
  const FlightPlan expected = fpl;
  read(crlf({"PZPos1X2=5", "PZPos4X2=1", "PZPos1X11=1", "PZPos-1X2=1", "PZPos1Y-1=1",
             "PZPos1X99999999999=1", "PZBase11=1", "PZTop-1=1", "PZPenaltyTimeFactor8193=1",
             "PZPos1Z2=1", "PZPos1=X2"}));
  EXPECT_TRUE(fpl == expected);
  EXPECT_EQ(fpl.npzmax, 2);
}

TEST_F(ReadFplTest, DisabledAirspaceLists) {
  read(crlf({"DisabledAirspaces=3,17,x,5"}));
  EXPECT_TRUE(fpl.qas_disa[3] && fpl.qas_disa[17] && fpl.qas_disa[5]);
  EXPECT_EQ(fpl.last_dis_as, 17);
  EXPECT_THAT(out, HasSubstr(" 3\n 17\n x\n 5\n"));

  read(crlf({"DisabledAirspaces=1,,4"}));  // the list ends at an empty item
  EXPECT_TRUE(fpl.qas_disa[1]);
  EXPECT_FALSE(fpl.qas_disa[4]);
  EXPECT_EQ(fpl.last_dis_as, 1);

  read(crlf({"DisabledAirspaces="}));
  EXPECT_EQ(fpl.last_dis_as, 0);
  for (bool q : fpl.qas_disa)
    EXPECT_FALSE(q);

  // Block numbers outside 0..8192 are skipped; long items are read whole.
  read(crlf({"DisabledAirspaces=-1,8193,99999999999,8192,000000000017,123456789012,0"}));
  int disabled = 0;
  for (bool q : fpl.qas_disa)
    disabled += q;
  EXPECT_EQ(disabled, 3);
  EXPECT_TRUE(fpl.qas_disa[0] && fpl.qas_disa[17] && fpl.qas_disa[8192]);
  EXPECT_EQ(fpl.last_dis_as, 8192);
}

TEST_F(ReadFplTest, LongDisabledAirspaceListIsReadWhole) {
  // Ten thousand items, far beyond the 132 characters of other lines, in a version-2 plan
  // (no widened buffer) and behind the embedded-form prefix.
  std::string list;
  for (int i = 0; i < 10000; ++i)
    list += (i ? "," : "") + std::to_string(9999 - i);
  read(crlf({"Soarix version=2000", "LSRXFPLDisabledAirspaces=" + list,
             "TPName1=" + std::string(200, 'n')}));
  for (int b = 0; b <= 8192; ++b)
    ASSERT_TRUE(fpl.qas_disa[b]) << b;
  EXPECT_EQ(fpl.last_dis_as, 8192);
  EXPECT_EQ(fpl.tpnam[1], std::string(32, 'n'));
  EXPECT_THAT(out, HasSubstr(" 9999\n"));
  EXPECT_THAT(out, HasSubstr(" 3 TPName1=" + std::string(124, 'n') + " 132\n"));
}

// The list is never held whole: an item keeps its number behind any run of blanks and with any
// tail, up to a word of 4096 characters; a landscape with more blocks than the model widens the
// lines only as far as the model's blocks need.
TEST_F(ReadFplTest, LongListItemsAndHugeLandscapesStayBounded) {
  const std::string blanks(9000, ' ');
  read(crlf({"DisabledAirspaces=" + blanks + "5" + blanks + "," + "6 " + std::string(9000, 'y') +
             "," + std::string(5000, '0') + "17,7"}));
  int disabled = 0;
  for (bool q : fpl.qas_disa)
    disabled += q;
  EXPECT_EQ(disabled, 3);
  EXPECT_TRUE(fpl.qas_disa[5] && fpl.qas_disa[6] && fpl.qas_disa[7]);
  EXPECT_THAT(out, HasSubstr("\n 5\n 6 " + std::string(4094, 'y') + "\n"));

  install_landscape("Huge", 9000);
  read(crlf({"Soarix version=3000", "Landscape=Huge", "PZCount=1",
             "PZBase1" + std::string(41000, ' ') + "=250", "DisabledAirspaces=9"}));
  EXPECT_THAT(out, HasSubstr(" allocate 40982 40982\n"));
  EXPECT_FLOAT_EQ(fpl.pza[1][1], 0);
  EXPECT_TRUE(fpl.qas_disa[9]);
}

TEST_F(ReadFplTest, DescriptionBlock) {
  read(crlf({"Text=Line one", "Line two", "  Line three  ", "", "Count=5", "TPName1=x"}));
  EXPECT_EQ(ios, 0);
  EXPECT_EQ(nl, 1);
  EXPECT_EQ(fpl.fpldesc[1], "Line one");
  EXPECT_EQ(fpl.fpldesc[2], "Line two");
  EXPECT_EQ(fpl.fpldesc[3], "  Line three");
  EXPECT_EQ(fpl.fpldesc[4], "");
  EXPECT_EQ(fpl.tpnam[1], "");
  EXPECT_THAT(out, HasSubstr(" IOS= 0\n IOS= 0\n IOS= 0\n"));

  // Forty lines: sixteen are kept, the others read and dropped, to the end of the file.
  std::vector<std::string> lines = {"[Task]", "Text=Line 1"};
  for (int i = 2; i <= 40; ++i)
    lines.push_back("Line " + std::to_string(i));
  read(crlf(lines));
  EXPECT_EQ(ios, -1);
  EXPECT_EQ(nl, 2);
  EXPECT_EQ(fpl.fpldesc[16], "Line 16");
  for (int k = 1; k <= 16; ++k)
    EXPECT_EQ(fpl.fpldesc[k], "Line " + std::to_string(k));
}

TEST_F(ReadFplTest, Version3LandscapeWithoutAirspaceFile) {
  install_without_airspace();
  CapturedBoxes boxes;
  read(crlf({"Soarix version=3000", "[Task]", "Landscape=Nowhere", "PZCount=1",
             "PZPos0X0=123456.75", "PZPos0Y0=-654321.25", "PZPenaltyTimeFactor0=1.5",
             "DisabledAirspaces=", "TPName0=Home"}));
  EXPECT_EQ(fpl.nb_as_zones, 0);
  EXPECT_THAT(out, HasSubstr("Nowhere\\Nowhere.air\n"));
  // The path stays whole in the message, its "/" no line breaks.
  EXPECT_EQ(boxes.shown(),
            "Varnek [error]\n" + inst.instpath3 +
                "\\Landscapes\\Nowhere\\Nowhere.air\nAirspace file : error opening\n");
  EXPECT_THAT(out, HasSubstr(" Airspace zones :  0\n"));
  EXPECT_THAT(out, HasSubstr(" allocate 132 132\n"));
  // The penalty-zone lines are whole.
  EXPECT_FLOAT_EQ(fpl.pzp[1][0][0], 123456.75f);
  EXPECT_FLOAT_EQ(fpl.pzp[2][0][0], -654321.25f);
  EXPECT_FLOAT_EQ(fpl.pza[3][0], 1.5f);
  EXPECT_EQ(fpl.tpnam[0], "Home");

  // In a version-2 plan the landscape is only a name.
  out.clear();
  read(crlf({"Soarix version=2000", "Landscape=Nowhere", "PZCount=1"}));
  EXPECT_EQ(fpl.landscape, "Nowhere");
  EXPECT_THAT(out, Not(HasSubstr("Airspace")));
  EXPECT_THAT(out, Not(HasSubstr("allocate")));
}

TEST_F(ReadFplTest, Version3FolderComesFromTheSimulatorsRegistry) {
  SoarixMachine machine;
  machine.v3 = SoarixMachine::version3();
  machine.build();
  machine.write("C:\\Program Files\\Soarix3\\Landscapes\\Alps\\Alps.air",
                "AC R\r\nAN One\r\nAC Q\r\nAN Two\r\n");
  inst.instpath3.clear();
  read(crlf({"Soarix version=3000", "[Task]", "Landscape=Alps"}));
  EXPECT_EQ(inst.instpath3, "C:\\Program Files\\Soarix3");
  EXPECT_EQ(fpl.nb_as_zones, 2);
  EXPECT_THAT(out, HasSubstr("\n C:\\Program Files\\Soarix3\\Landscapes\\Alps\\Alps.air\n"));
}

// The simulator finds a landscape whatever the case the plan names it in.
TEST_F(ReadFplTest, Version3LandscapeNamedInAnotherCase) {
  SoarixMachine machine;
  machine.v3 = SoarixMachine::version3();
  machine.build();
  machine.write("C:\\Program Files\\Soarix3\\Landscapes\\Alps\\Alps.air", "AC R\r\nAC Q\r\n");
  read(crlf({"Soarix version=3000", "[Task]", "Landscape=alps"}));
  EXPECT_EQ(fpl.landscape, "alps");
  EXPECT_EQ(fpl.nb_as_zones, 2);
  EXPECT_THAT(out, Not(HasSubstr("error opening")));
}

TEST_F(ReadFplTest, Version3LinesAreWiderFromPenaltyZonesToDisabledAirspaces) {
  install_landscape("Big", 40);  // 5 * 40 + 17 = 217 characters
  const std::string far_value = "PZBase1" + std::string(150, ' ') + "=250";
  read(crlf({"Soarix version=3000", "Landscape=Big", "PZCount=2", far_value, "DisabledAirspaces=7",
             "PZBase2" + std::string(150, ' ') + "=350"}));
  EXPECT_EQ(fpl.nb_as_zones, 40);
  EXPECT_THAT(out, HasSubstr(" allocate 217 217\n"));
  EXPECT_FLOAT_EQ(fpl.pza[1][1], 250);  // the "=" stands beyond column 132: whole here
  EXPECT_FLOAT_EQ(fpl.pza[1][2], 0);    // cut at 132 again after the list
  EXPECT_TRUE(fpl.qas_disa[7]);
}

// Each key given first a good value, then values that do not convert: the good value stays.
// Not "Soarix version", which such a value sets to 0 (VersionLine).
TEST_F(ReadFplTest, ValuesThatDoNotConvertLeaveFieldsUnchanged) {
  const std::vector<std::string> ints = {"x", "", "1.5", "99999999999", "--1"};
  const std::vector<std::string> reals = {"x", "", "1e39", "--1", "1.5.5", "e3"};
  const std::vector<std::string> huge_real = {"3e38", "1e37"};
  std::vector<std::string> rounded = reals;
  rounded.insert(rounded.end(), {"1e10", "-3e9", "2147483647.5"});
  struct Case {
    std::string section, key, good;
    const std::vector<std::string>* bad;
  };
  std::vector<Case> cases = {
      {"[Task]", "Count", "4", &ints},
      {"[Task]", "PZCount", "2", &ints},
      {"[Task]", "TPPosX1", "12.5", &reals},
      {"[Task]", "TPPosY1", "12.5", &reals},
      {"[Task]", "TPPosZ1", "12.5", &reals},
      {"[Task]", "TPAirport1", "1", &ints},
      {"[Task]", "TPSectorType1", "2", &ints},
      {"[Task]", "TPSectorDirection1", "2", &ints},
      {"[Task]", "TPRadius1", "750.4", &rounded},
      {"[Task]", "TPAngle1", "180", &rounded},
      {"[Task]", "TPAltitude1", "1200.6", &rounded},
      {"[Task]", "TPWidth1", "500", &rounded},
      {"[Task]", "TPHeight1", "300.5", &reals},
      {"[Task]", "TPAzimuth1", "1", &rounded},
      {"[Task]", "TPAzimuth1", "1", &huge_real},
      {"[Task]", "PZPos1X2", "5.5", &reals},
      {"[Task]", "PZBase2", "5.5", &reals},
      {"[Task]", "PZTop2", "5.5", &reals},
      {"[Task]", "PZPenaltyTimeFactor2", "5.5", &reals},
      {"[WeatherZone1]", "Polygon2Y1", "5.5", &reals},
      {"[Weather]", "WZCount", "3", &ints},
      {"[Weather]", "Pressure", "1013", &reals},
      {"[Weather]", "Pressure", "1013", &huge_real},
      {"[WeatherZone1]", "ThermalsTemp", "20", &reals},
      {"[WeatherZone1]", "ThermalsInversionheight", "1500", &rounded},
      {"[Plane]", "Water", "50", &reals},
      {"[Plane]", "FixedMass", "50", &reals},
      {"[Plane]", "CGBias", "0.5", &reals},
      {"[Plane]", "Seat", "2", &ints},
      {"[Task]", "TaskDate", "45000", &ints},
  };
  for (const char* key : {"MoveDir", "MoveSpeed", "BorderWidth", "WindDir", "WindSpeed",
                          "WindUpperSpeed", "ThermalsDew", "ThermalsOverdevelopment"}) {
    cases.push_back({"[WeatherZone1]", key, "2.5", &reals});
  }
  for (const char* key :
       {"PointCount", "WindDirVariation", "WindSpeedVariation", "WindTurbulence",
        "ThermalsTempVariation", "ThermalsStrength", "ThermalsStrengthVariation", "ThermalsWidth",
        "ThermalsWidthVariation", "ThermalsActivity", "ThermalsActivityVariation",
        "ThermalsTurbulence", "ThermalsFlatsActivity", "ThermalsStreeting", "ThermalsBugs",
        "WavesStability", "WavesMoisture", "HighCloudsCoverage"}) {
    cases.push_back({"[WeatherZone1]", key, "3", &ints});
  }
  for (const char* key :
       {"StartTime", "StartTimeWindow", "RaceStartDelay", "AATTime", "RopeLength"}) {
    cases.push_back({"[Plane]", key, "2.5", &reals});
  }
  for (const char* key : {"IconsVisibleRange",
                          "ThermalHelpersRange",
                          "TurnpointHelpersRange",
                          "PenaltyCloudFlying",
                          "PenaltyPlaneRecovery",
                          "PenaltyHeightRecovery",
                          "PenaltyWrongWindowEnterance",
                          "PenaltyWindowCollision",
                          "PenaltyAirspaceEnterance",
                          "PenaltyPenaltyZoneEnterance",
                          "PenaltyThermalHelpers",
                          "MaxStartGroundSpeed",
                          "PenaltyStartSpeed",
                          "PenaltyHighStart",
                          "PenaltyLowFinish",
                          "RandSeed",
                          "StartType",
                          "StartHeight",
                          "BreakProb",
                          "MaxWingLoading",
                          "MaxTeams",
                          "AcroFlight"}) {
    cases.push_back({"[Weather]", key, "3", &ints});
  }

  for (const auto& c : cases) {
    const std::string head = crlf({"Soarix version=3000", c.section});
    read(head);
    const FlightPlan before = fpl;
    const std::string good = head + c.key + "=" + c.good + "\r\n";
    read(good);
    const FlightPlan after_good = fpl;
    EXPECT_FALSE(after_good == before) << c.key << " is not read";
    std::string bad = good;
    for (const auto& v : *c.bad)
      bad += c.key + "=" + v + "\r\n";
    read(bad);
    EXPECT_TRUE(fpl == after_good) << c.key << " changed by a value that does not convert";
  }
}

TEST_F(ReadFplTest, FieldsKeptFromThePreviousPlan) {
  std::vector<std::string> ten = {"Soarix version=2000",
                                  "[Task]",
                                  "Count=10",
                                  "TaskDate=100",
                                  "StartTime=12",
                                  "[Weather]",
                                  "RandomizeWeatherOnEachFlight=1"};
  for (int i = 0; i < 10; ++i) {
    ten.push_back("TPName" + std::to_string(i) + "=P" + std::to_string(i));
    ten.push_back("TPPosX" + std::to_string(i) + "=" + std::to_string(1000 * i));
    ten.push_back("TPRadius" + std::to_string(i) + "=700");
  }
  read(crlf(ten));
  read(crlf({"[Task]", "Count=5", "TPPosX1=50"}));
  EXPECT_EQ(fpl.nb_wp, 5);
  EXPECT_EQ(fpl.fpl_vers, 2);  // no version line: the previous plan's
  for (int i = 5; i <= 9; ++i) {
    EXPECT_EQ(fpl.tpnam[i], "");
    EXPECT_EQ(fpl.tprad[i], 3000);
    EXPECT_EQ(fpl.tpang[i], 90);
    EXPECT_FLOAT_EQ(fpl.tpdist[i], 1000);  // the earlier plan's legs
  }
  EXPECT_FLOAT_EQ(fpl.tpdist[1], 50);
  EXPECT_FLOAT_EQ(fpl.tpdist[4], 0);
  EXPECT_EQ(fpl.taskdate, 100);
  EXPECT_EQ(fpl.jdate, 100 + 2415019);
  EXPECT_FLOAT_EQ(fpl.starttime, 12);
  EXPECT_TRUE(fpl.randomizeweatheroneachflight);
}

TEST_F(ReadFplTest, NextPlanStartsFromTheDefaultsButForTheCarryOver) {
  install_landscape("Vallee Brevanto", 3);
  read_file(data_file("full_v3.fpl"));
  // Fields no key fills, as the model may hold them.
  fpl.team = 2;
  fpl.fpl_000 = "reserved";
  fpl.gforce = 5.3f;
  fpl.qpolar = true;
  PlanCarryOver carry = fpl;
  carry.dist_tot = 0;  // recomputed: the next plan has no legs

  const std::string minimal = crlf({"[Task]", "TPName0=Alone"});
  read(minimal);
  const FlightPlan after_full = fpl;
  fpl = FlightPlan{};
  read(minimal);
  // The minimal plan read alone, with what the full plan carries over.
  FlightPlan expected = fpl;
  static_cast<PlanCarryOver&>(expected) = carry;
  EXPECT_TRUE(after_full == expected);
  EXPECT_EQ(after_full.tpnam[0], "Alone");
}

}  // namespace
}  // namespace brevanto::fixtures
