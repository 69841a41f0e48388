#include "task_map.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <numbers>

#include "console.hpp"
#include "finding_text.hpp"
#include "html_escape.hpp"
#include "read_fpl.hpp"
#include "real_chars.hpp"
#include "text_file.hpp"

namespace brevanto {

namespace {

// The picture: its width in pixels, its height between these bounds after the task's shape,
// and the room kept around the task.
constexpr double kWidth = 720;
constexpr double kMinHeight = 360;
constexpr double kMaxHeight = 720;
constexpr double kPad = 36;
constexpr double kMarkRadius = 5;

// A number in fixed notation, whatever the locale; room for the largest double.
std::string fixed(double v, int decimals) {
  char buf[400];
  const auto r = real_to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

// A coordinate of the picture: pixels with one decimal.
std::string num(double v) {
  return fixed(v, 1);
}

std::string point(double x, double y) {
  return num(x) + "," + num(y);
}

// A length in km as a label: one decimal below 100 km, three digits of a power of ten from a
// million km on.
std::string km(double metres) {
  const double k = metres / 1000;
  if (std::fabs(k) >= 1e6) {
    char buf[32];
    const auto r = real_to_chars(buf, buf + sizeof buf, k, std::chars_format::general, 3);
    return std::string(buf, r.ptr) + " km";
  }
  return fixed(k, std::fabs(k) < 100 ? 1 : 0) + " km";
}

// The model escapes "<" and ">" in turnpoint names for XML; the page escapes every text itself.
std::string plain_name(std::string name) {
  for (const auto& [escaped, c] : {std::pair{"&lt;", "<"}, std::pair{"&gt;", ">"}}) {
    for (std::size_t p = name.find(escaped); p != std::string::npos; p = name.find(escaped, p + 1))
      name.replace(p, 4, c);
  }
  return name;
}

struct Vec {
  double x = 0, y = 0;
};

// The unit vector from a to b; zero when they coincide.
Vec unit(Vec a, Vec b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double d = std::hypot(dx, dy);
  return d > 0 ? Vec{dx / d, dy / d} : Vec{};
}

// Maps the plan's metres to the picture's pixels, north up.
class Frame {
 public:
  Frame(double minx, double maxx, double miny, double maxy) : minx_(minx), maxy_(maxy) {
    const double w = std::max(maxx - minx, 1.0), h = std::max(maxy - miny, 1.0);
    height_ = std::clamp(kWidth * h / w, kMinHeight, kMaxHeight);
    scale_ = std::min((kWidth - 2 * kPad) / w, (height_ - 2 * kPad) / h);
    ox_ = (kWidth - w * scale_) / 2;
    oy_ = (height_ - h * scale_) / 2;
  }
  double x(double mx) const { return ox_ + (mx - minx_) * scale_; }
  double y(double my) const { return oy_ + (maxy_ - my) * scale_; }
  double len(double metres) const { return metres * scale_; }
  double height() const { return height_; }
  double scale() const { return scale_; }

 private:
  double minx_, maxy_, height_ = 0, scale_ = 1, ox_ = 0, oy_ = 0;
};

// The observation zone of turnpoint i: a circle, or a sector of its angle around its axis. A
// sector whose direction code is 0 faces away from the course, on the bisector of its legs (the
// start and the finish away from their one leg); with any other code, or where the legs give no
// direction, it faces the plan's azimuth (degrees clockwise from north).
std::string zone_shape(const FlightPlan& fpl, int i, const Frame& f) {
  const int n = fpl.nb_wp;
  const double r = f.len(fpl.tprad[i]);
  const int angle = fpl.tpang[i];
  if (fpl.tprad[i] <= 0 || angle <= 0) return {};
  const double cx = f.x(fpl.tpx[i]), cy = f.y(fpl.tpy[i]);
  if (angle >= 360) {
    return "<circle class=\"oz\" cx=\"" + num(cx) + "\" cy=\"" + num(cy) + "\" r=\"" + num(r) +
           "\"/>";
  }
  double axis = fpl.tpazi[i];
  if (fpl.tpsecdir[i] == 0) {
    const Vec here{fpl.tpx[i], fpl.tpy[i]};
    Vec sum;
    for (const int j : {i - 1, i + 1}) {
      if (j < 1 || j >= n) continue;  // the take-off is no part of the course
      const Vec u = unit(here, Vec{fpl.tpx[j], fpl.tpy[j]});
      sum.x -= u.x;
      sum.y -= u.y;
    }
    if (std::hypot(sum.x, sum.y) > 1e-9) {
      axis = std::atan2(sum.x, sum.y) * 180 / std::numbers::pi;
    }
  }
  // An azimuth on the picture: clockwise from up.
  const auto at = [&](double deg) {
    const double a = deg * std::numbers::pi / 180;
    return point(cx + r * std::sin(a), cy - r * std::cos(a));
  };
  const double half = angle / 2.0;
  return "<path class=\"oz\" d=\"M" + point(cx, cy) + " L" + at(axis - half) + " A" + num(r) + "," +
         num(r) + " 0 " + (angle > 180 ? "1" : "0") + " 1 " + at(axis + half) + " Z\"/>";
}

// A scale bar of 1, 2 or 5 times a power of ten metres, about a fifth of the picture wide.
std::string scale_bar(const Frame& f) {
  const double wanted = (kWidth / 5) / f.scale();
  const double power = std::pow(10.0, std::floor(std::log10(wanted)));
  double metres = power;
  for (const double step : {2.0, 5.0, 10.0}) {
    if (power * step <= wanted) metres = power * step;
  }
  const double x0 = 16, y0 = f.height() - 16, x1 = x0 + f.len(metres);
  return "<g class=\"scale\"><path d=\"M" + point(x0, y0 - 5) + " L" + point(x0, y0) + " L" +
         point(x1, y0) + " L" + point(x1, y0 - 5) + "\"/><text x=\"" + num(x0) + "\" y=\"" +
         num(y0 - 8) + "\">" + km(metres) + "</text></g>";
}

bool finite(double v) {
  return std::isfinite(v);
}

bool is_violation(const Finding& f) {
  return f.verdict != Verdict::ok;
}

// The report lines of the violations, by turnpoint; those of no turnpoint drawn by key.
struct Violations {
  std::map<int, std::string> at_turnpoint;
  std::map<std::string, std::string> at_key;
};

Violations violations_by_place(const std::vector<Finding>& findings, int n, Language language) {
  Violations v;
  for (const Finding& f : findings) {
    if (!is_violation(f)) continue;
    if (f.turnpoint >= 0 && f.turnpoint < n) {
      v.at_turnpoint[f.turnpoint] += "\n" + report_line(f, language);
    } else {
      std::string key = f.key;
      if (f.weather_zone >= 0) key += "[" + std::to_string(f.weather_zone) + "]";
      v.at_key[key] += (v.at_key[key].empty() ? "" : "\n") + report_line(f, language);
    }
  }
  return v;
}

Vec corner(const FlightPlan& fpl, int c, int z) {
  return Vec{fpl.pzp[1][c][z], fpl.pzp[2][c][z]};
}

// The penalty zones among the first `zones` that can be drawn: a zone with a corner that is no
// number, or without its corners (all at one point), is no area to draw.
std::vector<int> drawable_penalty_zones(const FlightPlan& fpl, int zones) {
  std::vector<int> drawn;
  for (int z = 0; z < zones; ++z) {
    bool ok = true, area = false;
    for (int c = 0; c <= 3; ++c) {
      const Vec v = corner(fpl, c, z);
      ok = ok && finite(v.x) && finite(v.y);
      area = area || v.x != corner(fpl, 0, z).x || v.y != corner(fpl, 0, z).y;
    }
    if (ok && area) drawn.push_back(z);
  }
  return drawn;
}

// The picture's frame: every one of the `n` turnpoints with its zone (the take-off without),
// every drawn penalty zone, a margin around them, and room for a task that is one point.
Frame task_frame(const FlightPlan& fpl, int n, const std::vector<int>& drawn_zones) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  double minx = inf, maxx = -inf, miny = inf, maxy = -inf;
  const auto take = [&](double x, double y, double r) {
    minx = std::min(minx, x - r);
    maxx = std::max(maxx, x + r);
    miny = std::min(miny, y - r);
    maxy = std::max(maxy, y + r);
  };
  for (int i = 0; i < n; ++i) {
    take(fpl.tpx[i], fpl.tpy[i], i > 0 && fpl.tpang[i] > 0 ? std::max(fpl.tprad[i], 0) : 0);
  }
  for (const int z : drawn_zones) {
    for (int c = 0; c <= 3; ++c)
      take(corner(fpl, c, z).x, corner(fpl, c, z).y, 0);
  }
  if (n == 0 && drawn_zones.empty()) take(0, 0, 0);
  const double margin = std::max({(maxx - minx) * 0.04, (maxy - miny) * 0.04, 500.0});
  return Frame(minx - margin, maxx + margin, miny - margin, maxy + margin);
}

std::string penalty_zones_svg(const FlightPlan& fpl, const std::vector<int>& drawn_zones,
                              const Frame& f, const MapTexts& texts) {
  std::string svg;
  for (const int z : drawn_zones) {
    svg += "<polygon class=\"pz\" points=\"";
    for (int c = 0; c <= 3; ++c)
      svg += (c > 0 ? " " : "") + point(f.x(corner(fpl, c, z).x), f.y(corner(fpl, c, z).y));
    svg += "\"><title>" + html_escape(texts.penalty_zone) + " " + std::to_string(z) + ": " +
           num(fpl.pza[1][z]) + " - " + num(fpl.pza[2][z]) + " m</title></polygon>";
  }
  return svg;
}

// The legs with their lengths: the first, from the take-off to the start, is no part of the task.
std::string legs_svg(const FlightPlan& fpl, int n, const Frame& f) {
  std::string svg;
  for (int i = 1; i < n; ++i) {
    const double x0 = f.x(fpl.tpx[i - 1]), y0 = f.y(fpl.tpy[i - 1]);
    const double x1 = f.x(fpl.tpx[i]), y1 = f.y(fpl.tpy[i]);
    svg += std::string("<line class=\"leg") + (i == 1 ? " takeoff-leg" : "") + "\" x1=\"" +
           num(x0) + "\" y1=\"" + num(y0) + "\" x2=\"" + num(x1) + "\" y2=\"" + num(y1) + "\"/>";
    svg += "<text class=\"leg-length\" x=\"" + num((x0 + x1) / 2 + 4) + "\" y=\"" +
           num((y0 + y1) / 2 - 4) + "\">" + km(fpl.tpdist[i]) + "</text>";
  }
  return svg;
}

// The mark of turnpoint i of `n` with its name, and its number, name and the report lines of its
// violations as the tooltip.
std::string turnpoint_svg(const FlightPlan& fpl, int i, int n, const Frame& f,
                          const std::map<int, std::string>& at_turnpoint, const MapTexts& texts) {
  const double x = f.x(fpl.tpx[i]), y = f.y(fpl.tpy[i]);
  const auto bad = at_turnpoint.find(i);
  std::string cls = "tp-mark";
  std::string label = plain_name(fpl.tpnam[i]);
  if (i == 0) cls += " takeoff";
  if (i == 1 && n > 2) {
    cls += " start";
    label += " (" + texts.start + ")";
  } else if (i == n - 1 && n > 2) {
    cls += " finish";
    label += " (" + texts.finish + ")";
  }
  if (bad != at_turnpoint.end()) cls += " bad";
  const std::string title = std::to_string(i) + ": " + plain_name(fpl.tpnam[i]) +
                            (bad != at_turnpoint.end() ? bad->second : "");
  std::string svg = "<g class=\"tp\"><title>" + html_escape(title) + "</title>";
  if (i == 0) {
    svg += "<rect class=\"" + cls + "\" x=\"" + num(x - kMarkRadius) + "\" y=\"" +
           num(y - kMarkRadius) + "\" width=\"" + num(2 * kMarkRadius) + "\" height=\"" +
           num(2 * kMarkRadius) + "\"/>";
  } else {
    svg += "<circle class=\"" + cls + "\" cx=\"" + num(x) + "\" cy=\"" + num(y) + "\" r=\"" +
           num(kMarkRadius) + "\"/>";
  }
  // A name near the right edge stands on the left of its mark, where it has room.
  const bool left = x > kWidth - 180;
  svg += "<text class=\"tp-name\" x=\"" + num(left ? x - 8 : x + 8) + "\" y=\"" + num(y + 4) +
         (left ? "\" text-anchor=\"end\">" : "\">") + html_escape(label) + "</text></g>";
  return svg;
}

// The keys with violations down the left side, as many as the picture holds; the page lists
// them all.
std::string key_marks_svg(const std::map<std::string, std::string>& at_key, const Frame& f) {
  std::string svg;
  double ky = 20;
  std::size_t listed = 0;
  for (const auto& [key, lines] : at_key) {
    if (ky > f.height() - 48 && listed + 1 < at_key.size()) {
      svg += "<text class=\"more\" x=\"12\" y=\"" + num(ky) + "\">+" +
             std::to_string(at_key.size() - listed) + "</text>";
      break;
    }
    svg += "<text class=\"key-mark bad\" x=\"12\" y=\"" + num(ky) + "\"><title>" +
           html_escape(lines) + "</title>" + html_escape(key) + "</text>";
    ky += 15;
    ++listed;
  }
  return svg;
}

}  // namespace

PlanForMap plan_for_map(TextFile& file) {
  PlanForMap result;
  Console quiet{Console::Discard{}};
  const AirspaceCount no_airspace_file = [](const std::string&) { return 0; };
  FlightPlan fpl;
  const FplReadState state = read_fpl(quiet, no_airspace_file, fpl, file, false);
  if (state.too_many_turnpoints) {
    result.problem = MapProblem::too_many_turnpoints;
  } else if (state.ios > 0) {
    result.problem = MapProblem::read_error;
  } else if (fpl.nb_wp < 1) {
    result.problem = MapProblem::no_task;
  } else {
    for (int i = 0; i < fpl.nb_wp; ++i) {
      if (!finite(fpl.tpx[i]) || !finite(fpl.tpy[i])) result.problem = MapProblem::bad_position;
    }
  }
  if (result.problem == MapProblem::none) result.fpl = std::move(fpl);
  return result;
}

std::string task_map_svg(const FlightPlan& fpl, const std::vector<Finding>& findings,
                         const MapTexts& texts) {
  const int n = std::clamp(fpl.nb_wp, 0, maxtp + 1);
  const Violations violations = violations_by_place(findings, n, texts.language);
  const std::vector<int> drawn_zones =
      drawable_penalty_zones(fpl, std::clamp(fpl.nb_pz, 0, maxpz + 1));
  const Frame f = task_frame(fpl, n, drawn_zones);

  std::string svg = "<svg class=\"task-map\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    num(kWidth) + "\" height=\"" + num(f.height()) + "\" viewBox=\"0 0 " +
                    num(kWidth) + " " + num(f.height()) + "\">";
  svg += penalty_zones_svg(fpl, drawn_zones, f, texts);
  for (int i = 1; i < n; ++i)
    svg += zone_shape(fpl, i, f);
  svg += legs_svg(fpl, n, f);
  for (int i = 0; i < n; ++i)
    svg += turnpoint_svg(fpl, i, n, f, violations.at_turnpoint, texts);
  svg += key_marks_svg(violations.at_key, f);
  svg += "<g class=\"north\"><path d=\"M" + point(kWidth - 24, 34) + " L" + point(kWidth - 18, 16) +
         " L" + point(kWidth - 12, 34) + " Z\"/><text x=\"" + num(kWidth - 22) + "\" y=\"48\">" +
         html_escape(texts.north) + "</text></g>";
  svg += scale_bar(f);
  svg += "</svg>";
  return svg;
}

}  // namespace brevanto
