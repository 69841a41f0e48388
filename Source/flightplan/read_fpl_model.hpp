// The flight-plan model: the in-memory image of one .fpl file (task, weather, glider, options).
// One instance lives for the whole run; each read resets it and fills it again, except for the
// fields of PlanCarryOver. Every field's initial value is its value after a reset. Array index
// ranges are the model's own (turnpoints 0..30, weather zones 0..16, ...): point 0 is the take-off,
// point 1 the start, point nb_wp-1 the finish. Texts keep their content without trailing blanks;
// the width noted is applied on assignment.
#pragma once

#include <string>

#include "bounded_array.hpp"

namespace brevanto {

inline constexpr int maxtp = 30;    // highest turnpoint index
inline constexpr int maxpz = 10;    // highest penalty-zone index
inline constexpr int maxwz = 16;    // highest weather-zone index
inline constexpr int maxwzpt = 16;  // highest polygon point index of a weather zone
inline constexpr int cmaxdisabledairspaceblockscount = 8192;  // highest airspace block number

template <typename T>
using PerTurnpoint = Bounded<T, 0, maxtp>;
template <typename T>
using PerZone = Bounded<T, 0, maxwz>;

// What one plan leaves to the next: the fields no reset touches. A plan that lacks their keys
// keeps the previous plan's values; the legs past the new plan's finish keep an earlier plan's
// lengths; the reserved fields and the polar values here are never filled from a plan.
struct PlanCarryOver {
  int fpl_vers = 0;  // major file version, 2 or 3
  int taskdate = 0;  // day serial
  int jdate = 0;     // Julian day number of the task date
  float starttime = 0;
  int wzcount = 0;  // weather zones
  bool randomizeweatheroneachflight = false;
  PerTurnpoint<float> tpdist;  // leg ending at the point, metres
  float dist_tot = 0;          // task distance, start to finish, metres; recomputed after a read
  float vfmax_00 = 0, fmax_00 = 0, gforce = 0;  // glider polar
  // Reserved.
  std::string fpl_000;
  int cloudbase = 0, team = 0;
  float finishminalt = 0, fimialt_eff = 0, tp_septhr = 0;
  Bounded<float, 0, 6> fconv_def;
  bool qpolar = false;

  bool operator==(const PlanCarryOver&) const = default;
};

// Counters.
struct rd_fpl_0 {
  int nb_wp = 0;         // turnpoints, take-off included
  int nb_pz = 0;         // penalty zones
  int npzmax = 0;        // highest penalty-zone index met
  int nwpmax = 0;        // highest turnpoint index met
  int nb_as_zones = 0;   // airspace blocks of the landscape (version 3)
  int nb_fpldesc = 0;    // reserved, stays 0
  int last_dis_as = -1;  // highest disabled airspace block

  bool operator==(const rd_fpl_0&) const = default;
};

// Geometry.
struct rd_fpl_1 {
  Bounded<Bounded<Bounded<float, 0, maxwz>, 0, maxwzpt>, 1, 2> wzp;  // (X/Y, point, zone)
  Bounded<Bounded<Bounded<float, 0, maxpz>, 0, 3>, 1, 2> pzp;        // (X/Y, corner, zone)
  Bounded<Bounded<float, 0, maxpz>, 1, 3> pza;  // (base / top / penalty time factor, zone)
  PerTurnpoint<float> tpx, tpy, tpz;            // position and elevation, metres
  PerTurnpoint<float> tplat, tplon;             // reserved
  PerTurnpoint<float> tpazi;                    // sector azimuth, whole degrees
  PerTurnpoint<float> tphei;                    // sector height
  PerTurnpoint<float> tpalt;                    // sector altitude, whole metres
  PerTurnpoint<float> tpwid;                    // sector width, whole metres
  PerTurnpoint<int> tpsecdir;                   // sector direction code
  PerTurnpoint<int> tpair;                      // airport indicator
  PerTurnpoint<int> tpsec = PerTurnpoint<int>::filled(1);     // sector type code
  PerTurnpoint<int> tprad = PerTurnpoint<int>::filled(3000);  // sector radius, metres
  PerTurnpoint<int> tpang = PerTurnpoint<int>::filled(90);    // sector angle, degrees
  PerTurnpoint<int> tpid;                                     // reserved

  bool operator==(const rd_fpl_1&) const = default;
};

// Texts.
struct rd_fpl_2 {
  static constexpr std::size_t name_len = 32, desc_len = 256, landscape_len = 64;
  PerTurnpoint<std::string> tpnam;      // turnpoint names, "<" and ">" escaped
  PerZone<std::string> wznam;           // weather-zone names
  Bounded<std::string, 1, 16> fpldesc;  // description lines
  std::string landscape;

  bool operator==(const rd_fpl_2&) const = default;
};

// Atmosphere.
struct rd_fpl_4 {
  float pressure = 101325.0f;  // pascals

  bool operator==(const rd_fpl_4&) const = default;
};

// Disabled airspace blocks.
struct rd_fpl_5 {
  Bounded<bool, 0, cmaxdisabledairspaceblockscount> qas_disa;

  bool operator==(const rd_fpl_5&) const = default;
};

// Task timing, options and penalties.
struct rd_fpl_6 {
  float starttimewindow = 0, racestartdelay = 0;
  float aattime = 0;  // also t_aat
  int iconsvisiblerange = 0, thermalhelpersrange = 0, turnpointhelpersrange = 0;
  bool qaat = false;
  bool allowbugwipers = false;
  bool allowpda = false;  // also qpda
  bool allowrealtimescoring = false, allowexternalview = false, allowpadlockview = false;
  bool allowsmoke = false, allowplanerecovery = false, allowheightrecovery = false;
  bool allowmidaircollisionrecovery = false;  // also qmidair
  int penaltycloudflying = 0;                 // also cloudpen
  int penaltyplanerecovery = 0, penaltyheightrecovery = 0, penaltywrongwindowenterance = 0;
  int penaltywindowcollision = 0, penaltyairspaceenterance = 0, penaltypenaltyzoneenterance = 0;
  int penaltythermalhelpers = 0;
  int maxstartgroundspeed = 0;  // also start_max_speed
  int penaltystartspeed = 0, penaltyhighstart = 0, penaltylowfinish = 0;
  int randseed = 0, starttype = 0, startheight = 0, breakprob = 0;
  float ropelength = 0;
  int maxteams = 0, acroflight = 0;
  int maxwingloading = 0;

  float& t_aat() { return aattime; }
  bool& qpda() { return allowpda; }
  bool& qmidair() { return allowmidaircollisionrecovery; }
  int& cloudpen() { return penaltycloudflying; }
  int& start_max_speed() { return maxstartgroundspeed; }

  bool operator==(const rd_fpl_6&) const = default;
};

// Weather-zone reals.
struct rd_fpl_wz1 {
  PerZone<float> movedir, movespeed, borderwidth, winddir, windspeed, windupperspeed;
  PerZone<float> thermalstemp;             // kelvin
  PerZone<float> thermalsdew;              // degrees Celsius
  PerZone<float> thermalsinversionheight;  // whole metres

  bool operator==(const rd_fpl_wz1&) const = default;
};

// Weather-zone integers and zone counts.
struct rd_fpl_wz2 {
  PerZone<int> pointcount, winddirvariation, windspeedvariation, windturbulence;
  PerZone<int> thermalstempvariation, thermalsstrength, thermalsstrengthvariation;
  PerZone<float> thermalsoverdevelopment;
  PerZone<int> thermalswidth, thermalswidthvariation, thermalsactivity, thermalsactivityvariation;
  PerZone<int> thermalsturbulence, thermalsflatsactivity, thermalsstreeting, thermalsbugs;
  PerZone<int> wavesstability, wavesmoisture, highcloudscoverage;

  bool operator==(const rd_fpl_wz2&) const = default;
};

// Glider.
struct ggg001 {
  std::string glnam;  // also glider; text of 32
  std::string glclass, glskin;
  std::string& glider() { return glnam; }

  bool operator==(const ggg001&) const = default;
};
struct ggg002 {
  float cgbias = 0;
  int glseat = 1;
  bool qbugwipers = false;

  bool operator==(const ggg002&) const = default;
};
struct gggmas {
  float rmass = 0, mmass = 0, cmass = 0;  // reserved
  float wmass = 0;                        // water ballast
  float fmass = 0;                        // fixed mass
  float balmax = 0;                       // reserved

  bool operator==(const gggmas&) const = default;
};
// Glider polar; no flight-plan key fills it. Its values that outlast a reset (vfmax_00,
// fmax_00, gforce) are carried over with the plan's.
struct gggpol {
  Bounded<float, 1, 3> vap, vzp, vap00, vzp00;
  Bounded<float, 1, 2> pol_a, pol_b, pol_c;
  float pol_d = 0, pol_v = 0, calage = 0, pol_a00 = 0, pol_b00 = 0, pol_c00 = 0, pol_d00 = 0;
  float pol_v00 = 0, vmin_00 = 0, vvzm_00 = 0, v_vzmin = 0, h_wnd = 0;
  float fmulatm = 0, vmin = 0, vvzm = 0;

  bool operator==(const gggpol&) const = default;
};

// The glider's records, which the glider reset gives their defaults as one.
struct GliderRecords : ggg001, ggg002, gggmas, gggpol {
  bool operator==(const GliderRecords&) const = default;
};

// The whole model, one plan at a time. Two models compare equal when every field does.
struct FlightPlan : PlanCarryOver,
                    rd_fpl_0,
                    rd_fpl_1,
                    rd_fpl_2,
                    rd_fpl_4,
                    rd_fpl_5,
                    rd_fpl_6,
                    rd_fpl_wz1,
                    rd_fpl_wz2,
                    GliderRecords {
  bool operator==(const FlightPlan&) const = default;
};

}  // namespace brevanto
