#include "read_fpl_geometry.hpp"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "fixed_text.hpp"

namespace brevanto {

void reset_plan(FlightPlan& fpl) {
  PlanCarryOver carry = std::move(static_cast<PlanCarryOver&>(fpl));
  fpl = FlightPlan{};
  static_cast<PlanCarryOver&>(fpl) = std::move(carry);
}

void init_read_fpl(FlightPlan& fpl) {
  // The glider and the sector directions are the other resets' part: they are kept here.
  GliderRecords glider = std::move(static_cast<GliderRecords&>(fpl));
  const PerTurnpoint<int> tpsecdir = fpl.tpsecdir;
  reset_plan(fpl);
  static_cast<GliderRecords&>(fpl) = std::move(glider);
  fpl.tpsecdir = tpsecdir;
  // Cleared, not at their working values: init_wp, run last, gives those.
  fpl.tpsec.fill(0);
  fpl.tprad.fill(0);
  fpl.tpang.fill(0);
}

void init_glider(FlightPlan& fpl) {
  static_cast<GliderRecords&>(fpl) = GliderRecords{};
}

void init_wp(FlightPlan& fpl) {
  const rd_fpl_1 fresh;
  fpl.nb_wp = 0;
  for (auto f : {&rd_fpl_1::tpx, &rd_fpl_1::tpy, &rd_fpl_1::tpz, &rd_fpl_1::tplat, &rd_fpl_1::tplon,
                 &rd_fpl_1::tpazi, &rd_fpl_1::tphei, &rd_fpl_1::tpalt, &rd_fpl_1::tpwid}) {
    fpl.*f = fresh.*f;
  }
  for (auto f : {&rd_fpl_1::tpair, &rd_fpl_1::tpsec, &rd_fpl_1::tpsecdir, &rd_fpl_1::tprad,
                 &rd_fpl_1::tpang}) {
    fpl.*f = fresh.*f;
  }
  fpl.tpnam = rd_fpl_2{}.tpnam;
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
