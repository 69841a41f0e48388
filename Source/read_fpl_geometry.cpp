#include "read_fpl_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "fixed_text.hpp"

namespace brevanto {

void init_read_fpl(FlightPlan& fpl) {
  fpl.nb_wp = 0;
  fpl.nb_pz = 0;
  fpl.npzmax = 0;
  fpl.nwpmax = 0;

  for (auto* a : {&fpl.tpx, &fpl.tpy, &fpl.tpz, &fpl.tplat, &fpl.tplon, &fpl.tpazi, &fpl.tphei,
                  &fpl.tpalt, &fpl.tpwid}) {
    a->fill(0.0f);
  }
  for (auto* a : {&fpl.tpair, &fpl.tpsec, &fpl.tprad, &fpl.tpang, &fpl.tpid})
    a->fill(0);
  for (auto& coord : fpl.pzp) {
    for (auto& corner : coord)
      corner.fill(0.0f);
  }
  for (auto& k : fpl.pza)
    k.fill(0.0f);
  for (auto& coord : fpl.wzp) {
    for (auto& point : coord)
      point.fill(0.0f);
  }

  fpl.tpnam.fill(std::string());
  fpl.wznam.fill(std::string());
  fpl.landscape.clear();

  for (auto* a : {&fpl.movedir, &fpl.movespeed, &fpl.borderwidth, &fpl.winddir, &fpl.windspeed,
                  &fpl.windupperspeed, &fpl.thermalstemp, &fpl.thermalsdew,
                  &fpl.thermalsinversionheight, &fpl.thermalsoverdevelopment}) {
    a->fill(0.0f);
  }
  for (auto* a : {&fpl.pointcount, &fpl.winddirvariation, &fpl.windspeedvariation,
                  &fpl.windturbulence, &fpl.thermalstempvariation, &fpl.thermalsstrength,
                  &fpl.thermalsstrengthvariation, &fpl.thermalswidth, &fpl.thermalswidthvariation,
                  &fpl.thermalsactivity, &fpl.thermalsactivityvariation, &fpl.thermalsturbulence,
                  &fpl.thermalsflatsactivity, &fpl.thermalsstreeting, &fpl.thermalsbugs,
                  &fpl.wavesstability, &fpl.wavesmoisture, &fpl.highcloudscoverage}) {
    a->fill(0);
  }

  fpl.pressure = 101325.0f;

  fpl.starttimewindow = 0;
  fpl.racestartdelay = 0;
  fpl.aattime = 0;
  fpl.ropelength = 0;
  for (int* f : {&fpl.iconsvisiblerange,
                 &fpl.thermalhelpersrange,
                 &fpl.turnpointhelpersrange,
                 &fpl.penaltycloudflying,
                 &fpl.penaltyplanerecovery,
                 &fpl.penaltyheightrecovery,
                 &fpl.penaltywrongwindowenterance,
                 &fpl.penaltywindowcollision,
                 &fpl.penaltyairspaceenterance,
                 &fpl.penaltypenaltyzoneenterance,
                 &fpl.penaltythermalhelpers,
                 &fpl.maxstartgroundspeed,
                 &fpl.penaltystartspeed,
                 &fpl.penaltyhighstart,
                 &fpl.penaltylowfinish,
                 &fpl.randseed,
                 &fpl.starttype,
                 &fpl.startheight,
                 &fpl.breakprob,
                 &fpl.maxwingloading,
                 &fpl.maxteams,
                 &fpl.acroflight}) {
    *f = 0;
  }
  for (bool* f :
       {&fpl.qaat, &fpl.allowbugwipers, &fpl.allowpda, &fpl.allowrealtimescoring,
        &fpl.allowexternalview, &fpl.allowpadlockview, &fpl.allowsmoke, &fpl.allowplanerecovery,
        &fpl.allowheightrecovery, &fpl.allowmidaircollisionrecovery}) {
    *f = false;
  }

  fpl.nb_as_zones = 0;
  fpl.qas_disa.fill(false);
  fpl.last_dis_as = -1;

  fpl.fpldesc.fill(std::string());
  fpl.nb_fpldesc = 0;
}

void init_glider(FlightPlan& fpl) {
  fpl.rmass = fpl.mmass = fpl.cmass = fpl.wmass = fpl.fmass = fpl.balmax = 0;
  fpl.cgbias = 0;
  fpl.glnam.clear();
  fpl.glclass.clear();
  fpl.glskin.clear();
  fpl.glseat = 1;
  fpl.qbugwipers = false;

  // The polar is cleared whole, then the three values that survive a reset are put back.
  const float vfmax_00 = fpl.vfmax_00, fmax_00 = fpl.fmax_00, gforce = fpl.gforce;
  static_cast<gggpol&>(fpl) = gggpol{};
  fpl.vfmax_00 = vfmax_00;
  fpl.fmax_00 = fmax_00;
  fpl.gforce = gforce;
}

void init_wp(FlightPlan& fpl) {
  fpl.nb_wp = 0;
  fpl.tpair.fill(0);
  fpl.tpsec.fill(1);
  fpl.tpsecdir.fill(0);
  fpl.tprad.fill(3000);
  fpl.tpang.fill(90);
  for (auto* a : {&fpl.tpx, &fpl.tpy, &fpl.tpz, &fpl.tplat, &fpl.tplon, &fpl.tpazi, &fpl.tphei,
                  &fpl.tpalt, &fpl.tpwid}) {
    a->fill(0.0f);
  }
  fpl.tpnam.fill(std::string());
}

namespace {

// Replaces every `from` by `to`, first occurrence first, keeping the text within its width.
// `to` does not contain `from`, and each pass removes one occurrence, so the loop ends.
void replace_all_cut(std::string& str, char from, std::string_view to, std::size_t width) {
  for (std::size_t p = str.find(from); p != std::string::npos; p = str.find(from)) {
    str.replace(p, 1, to);
    str = fit(str, width);
  }
}

}  // namespace

void cleanup_name(std::string& str, std::size_t width) {
  str = fit(str, width);
  replace_all_cut(str, '<', "&lt;", width);
  replace_all_cut(str, '>', "&gt;", width);
}

void compute_dist(Console& con, FlightPlan& fpl) {
  fpl.dist_tot = 0;
  // nb_wp never exceeds 31 after a read; the bound keeps any other count within the model.
  const long long finish = static_cast<long long>(fpl.nb_wp) - 1;
  const int last = static_cast<int>(std::clamp<long long>(finish, 0, maxtp));
  for (int n = 1; n <= last; ++n) {
    const float dx = fpl.tpx[n] - fpl.tpx[n - 1];
    const float dy = fpl.tpy[n] - fpl.tpy[n - 1];
    float d = std::sqrt(dx * dx + dy * dy);
    // A full-circle finish is reached at its edge, not at its centre.
    if (n == finish && fpl.tpang[n] == 360) d -= static_cast<float>(fpl.tprad[n]);
    fpl.tpdist[n] = d;
    if (n > 1) fpl.dist_tot += d;
    con.trace(n, fpl.tpdist[n]);
  }
  con.trace("Tot dist", fpl.dist_tot);
}

}  // namespace brevanto
