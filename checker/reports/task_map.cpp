#include "task_map.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
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
// A label's line of 11-pixel text, as wide as this per character at most.
constexpr double kCharWidth = 6.6;
constexpr double kLineHeight = 13;

constexpr std::string_view kDash = "\x96";  // an en dash, for a length that is no number

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
// million km on; a dash for what is no number.
std::string km(double metres) {
  const double k = metres / 1000;
  if (!std::isfinite(k)) return std::string(kDash);
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

// Maps the plan's metres to the picture's pixels: north up, and east, where X is smaller, to the
// right.
class Frame {
 public:
  Frame(double minx, double maxx, double miny, double maxy) : maxx_(maxx), maxy_(maxy) {
    const double w = std::max(maxx - minx, 1.0), h = std::max(maxy - miny, 1.0);
    height_ = std::clamp(kWidth * h / w, kMinHeight, kMaxHeight);
    scale_ = std::min((kWidth - 2 * kPad) / w, (height_ - 2 * kPad) / h);
    ox_ = (kWidth - w * scale_) / 2;
    oy_ = (height_ - h * scale_) / 2;
  }
  double x(double mx) const { return ox_ + (maxx_ - mx) * scale_; }
  double y(double my) const { return oy_ + (maxy_ - my) * scale_; }
  Vec at(double mx, double my) const { return {x(mx), y(my)}; }
  double len(double metres) const { return metres * scale_; }
  double height() const { return height_; }
  double scale() const { return scale_; }

 private:
  double maxx_, maxy_, height_ = 0, scale_ = 1, ox_ = 0, oy_ = 0;
};

// A rectangle of the picture that a label, a mark or a piece of a leg takes. A label may cross a
// leg where it must, but rather not: the legs weigh less.
struct Box {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  double weight = 1;
  double overlap(const Box& o) const {
    const double w = std::min(x1, o.x1) - std::max(x0, o.x0);
    const double h = std::min(y1, o.y1) - std::max(y0, o.y0);
    return w > 0 && h > 0 ? w * h * weight : 0;
  }
};

// Labels put one by one where they overlap least what the picture already holds.
class Layout {
 public:
  explicit Layout(double height) : height_(height) {}
  void take(const Box& b) { taken_.push_back(b); }
  // A leg, taken as small boxes along it.
  void take_line(Vec a, Vec b) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const int pieces = std::clamp(static_cast<int>(length / 8), 1, 400);
    for (int k = 0; k <= pieces; ++k) {
      const double t = static_cast<double>(k) / pieces;
      const Vec p{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
      taken_.push_back(Box{p.x - 3, p.y - 3, p.x + 3, p.y + 3, 0.2});
    }
  }

  // Where a label goes: the text's anchor ("start", "middle" or "end"), the baseline of its
  // line, and whether it stands away from the point it names.
  struct Placed {
    double x = 0, y = 0;
    std::string_view anchor;
    bool far = false;
  };
  // A place that a label may take: a point, the side of it the label extends to in x (+1 right,
  // -1 left, 0 centred) and in y (+1 below, -1 above, 0 centred), and whether it is away from
  // what the label names.
  struct Spot {
    Vec at;
    int dx = 0, dy = 0;
    bool far = false;
  };

  // A label of `chars` characters at the first of the `spots` that overlaps nothing and stays
  // in the picture, or else at the one that overlaps least.
  Placed place(const std::vector<Spot>& spots, std::size_t chars) {
    const double w = static_cast<double>(chars) * kCharWidth + 2;
    const double h = kLineHeight;
    Placed best;
    Box chosen;
    double least = std::numeric_limits<double>::infinity();
    for (const Spot& spot : spots) {
      const Box b = box_at(spot, w, h);
      const double cost = cost_of(b);
      if (cost < least) {
        least = cost;
        best.x = spot.dx > 0 ? b.x0 + 1 : (spot.dx < 0 ? b.x1 - 1 : (b.x0 + b.x1) / 2);
        best.y = b.y1 - 3;
        best.anchor = spot.dx > 0 ? "start" : (spot.dx < 0 ? "end" : "middle");
        best.far = spot.far;
        chosen = b;
      }
      if (cost == 0) break;
    }
    taken_.push_back(chosen);
    return best;
  }

  // The box of a label `w` by `h` at `spot`.
  static Box box_at(const Spot& spot, double w, double h) {
    Box b;
    b.x0 = spot.dx > 0 ? spot.at.x : (spot.dx < 0 ? spot.at.x - w : spot.at.x - w / 2);
    b.x1 = b.x0 + w;
    b.y0 = spot.dy < 0 ? spot.at.y - h : (spot.dy > 0 ? spot.at.y : spot.at.y - h / 2);
    b.y1 = b.y0 + h;
    return b;
  }

  // How much a label at `b` overlaps what is taken; outside the picture is worse than any
  // overlap.
  double cost_of(const Box& b) const {
    double cost = 0;
    for (const Box& t : taken_)
      cost += t.overlap(b);
    if (b.x0 < 2 || b.x1 > kWidth - 2 || b.y0 < 2 || b.y1 > height_ - 2) cost += 1e9;
    return cost;
  }

  // The places around a point, nearest first: right, left, above, below, then the corners, at
  // `gap` and farther.
  static std::vector<Spot> around_point(Vec p, double gap) {
    constexpr std::array<std::pair<int, int>, 8> kAround = {
        {{1, 0}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {1, 1}, {-1, -1}, {-1, 1}}};
    std::vector<Spot> spots;
    for (const double reach : {gap, gap + 14, gap + 30, gap + 52}) {
      for (const auto& [dx, dy] : kAround)
        spots.push_back({{p.x + dx * reach, p.y + dy * reach * 0.8}, dx, dy, reach > gap});
    }
    return spots;
  }

  // The places beside a leg from a to b: on either side of it, near its middle first.
  static std::vector<Spot> beside_line(Vec a, Vec b) {
    const Vec u = unit(a, b);
    const Vec normal{-u.y, u.x};
    std::vector<Spot> spots;
    for (const double along : {0.5, 0.35, 0.65, 0.2, 0.8}) {
      const Vec m{a.x + (b.x - a.x) * along, a.y + (b.y - a.y) * along};
      for (const double reach : {7.0, 14.0}) {
        for (const double side : {1.0, -1.0}) {
          const Vec n{normal.x * side, normal.y * side};
          const int dx = n.x > 0.35 ? 1 : (n.x < -0.35 ? -1 : 0);
          const int dy = n.y > 0.35 ? 1 : (n.y < -0.35 ? -1 : 0);
          spots.push_back({{m.x + n.x * reach, m.y + n.y * reach}, dx, dy, false});
        }
      }
    }
    return spots;
  }

 private:
  double height_;
  std::vector<Box> taken_;
};

Box around(Vec p, double r) {
  return {p.x - r, p.y - r, p.x + r, p.y + r};
}

// The observation zone of turnpoint i: a circle, or a sector of its angle around its axis. A
// sector whose direction code is 0 faces away from the course, on the bisector of its legs (the
// start and the finish away from their one leg); with any other code, or where the legs give no
// direction, it faces the plan's azimuth (degrees clockwise from north).
std::string zone_shape(const FlightPlan& fpl, int i, const Frame& f) {
  const int n = fpl.nb_wp;
  const double r = f.len(fpl.tprad[i]);
  const int angle = fpl.tpang[i];
  if (fpl.tprad[i] <= 0 || angle <= 0) return {};
  const Vec c = f.at(fpl.tpx[i], fpl.tpy[i]);
  if (angle >= 360) {
    return "<circle class=\"oz\" cx=\"" + num(c.x) + "\" cy=\"" + num(c.y) + "\" r=\"" + num(r) +
           "\"/>";
  }
  double axis = fpl.tpazi[i];
  if (fpl.tpsecdir[i] == 0) {
    // The bisector, found on the picture, where north is up and east to the right.
    Vec sum;
    for (const int j : {i - 1, i + 1}) {
      if (j < 1 || j >= n) continue;  // the take-off is no part of the course
      const Vec u = unit(c, f.at(fpl.tpx[j], fpl.tpy[j]));
      sum.x -= u.x;
      sum.y -= u.y;
    }
    if (std::hypot(sum.x, sum.y) > 1e-9) axis = std::atan2(sum.x, -sum.y) * 180 / std::numbers::pi;
  }
  // An azimuth on the picture: clockwise from up.
  const auto at = [&](double deg) {
    const double a = deg * std::numbers::pi / 180;
    return point(c.x + r * std::sin(a), c.y - r * std::cos(a));
  };
  const double half = angle / 2.0;
  return "<path class=\"oz\" d=\"M" + point(c.x, c.y) + " L" + at(axis - half) + " A" + num(r) +
         "," + num(r) + " 0 " + (angle > 180 ? "1" : "0") + " 1 " + at(axis + half) + " Z\"/>";
}

// A scale bar of 1, 2 or 5 times a power of ten metres, about a fifth of the picture wide.
std::string scale_bar(const Frame& f, Layout& layout) {
  const double wanted = (kWidth / 5) / f.scale();
  const double power = std::pow(10.0, std::floor(std::log10(wanted)));
  double metres = power;
  for (const double step : {2.0, 5.0, 10.0}) {
    if (power * step <= wanted) metres = power * step;
  }
  const double x0 = 16, y0 = f.height() - 16, x1 = x0 + f.len(metres);
  layout.take({x0 - 2, y0 - 20, std::max(x1, x0 + 60) + 2, y0 + 2});
  return "<g class=\"scale\"><path d=\"M" + point(x0, y0 - 5) + " L" + point(x0, y0) + " L" +
         point(x1, y0) + " L" + point(x1, y0 - 5) + "\"/><text x=\"" + num(x0) + "\" y=\"" +
         num(y0 - 8) + "\">" + km(metres) + "</text></g>";
}

bool finite(double v) {
  return std::isfinite(v);
}

// The report lines of a place as its tooltip, each escaped, and how many more the log holds.
std::string tooltip_lines(const MapMarks::Place& place, const MapTexts& texts) {
  std::string text;
  for (const std::string& line : place.lines)
    text += (text.empty() ? "" : "\n") + html_escape(line);
  if (place.more > 0) text += "\n" + html_escape(more_text(texts.more, place.more));
  return text;
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

// The legs, each with an arrow halfway along it that shows its direction; the first, from the
// take-off to the start, is no part of the task. The arrows are taken in the layout.
std::string legs_svg(const FlightPlan& fpl, int n, const Frame& f, Layout& layout) {
  std::string svg;
  for (int i = 1; i < n; ++i) {
    const Vec a = f.at(fpl.tpx[i - 1], fpl.tpy[i - 1]);
    const Vec b = f.at(fpl.tpx[i], fpl.tpy[i]);
    const std::string leg_class = i == 1 ? "leg takeoff-leg" : "leg";
    svg += "<line class=\"" + leg_class + "\" x1=\"" + num(a.x) + "\" y1=\"" + num(a.y) +
           "\" x2=\"" + num(b.x) + "\" y2=\"" + num(b.y) + "\"/>";
    const Vec u = unit(a, b);
    if (std::hypot(b.x - a.x, b.y - a.y) < 24) continue;  // no room for an arrow
    const Vec m{(a.x + b.x) / 2, (a.y + b.y) / 2};
    svg += "<path class=\"" + leg_class + " arrow\" d=\"M" + point(m.x + 6 * u.x, m.y + 6 * u.y) +
           " L" + point(m.x - 5 * u.x - 4 * u.y, m.y - 5 * u.y + 4 * u.x) + " L" +
           point(m.x - 5 * u.x + 4 * u.y, m.y - 5 * u.y - 4 * u.x) + " Z\"/>";
    layout.take(around(m, 6));
  }
  for (int i = 1; i < n; ++i)
    layout.take_line(f.at(fpl.tpx[i - 1], fpl.tpy[i - 1]), f.at(fpl.tpx[i], fpl.tpy[i]));
  return svg;
}

// The lengths of the legs, each placed near the middle of its leg where it overlaps no label.
std::string leg_lengths_svg(const FlightPlan& fpl, int n, const Frame& f, Layout& layout) {
  std::string svg;
  for (int i = 1; i < n; ++i) {
    const Vec a = f.at(fpl.tpx[i - 1], fpl.tpy[i - 1]);
    const Vec b = f.at(fpl.tpx[i], fpl.tpy[i]);
    const std::string text = km(fpl.tpdist[i]);
    const Layout::Placed at = layout.place(Layout::beside_line(a, b), text.size());
    svg += "<text class=\"leg-length\" x=\"" + num(at.x) + "\" y=\"" + num(at.y) +
           "\" text-anchor=\"" + std::string(at.anchor) + "\">" + html_escape(text) + "</text>";
  }
  return svg;
}

// The mark of turnpoint i of `n`, with its number and name as the tooltip, and the report
// lines of its violations.
std::string turnpoint_mark_svg(const FlightPlan& fpl, int i, int n, const Frame& f,
                               const MapMarks::Place* bad, const MapTexts& texts) {
  const Vec p = f.at(fpl.tpx[i], fpl.tpy[i]);
  std::string cls = "tp-mark";
  if (i == 0) cls += " takeoff";
  if (i == 1 && n > 2) cls += " start";
  if (i == n - 1 && n > 2) cls += " finish";
  if (bad != nullptr) cls += " bad";
  std::string title = html_escape(std::to_string(i) + ": " + plain_name(fpl.tpnam[i]));
  if (bad != nullptr) title += "\n" + tooltip_lines(*bad, texts);
  std::string svg = "<g class=\"tp\"><title>" + title + "</title>";
  if (i == 0) {
    svg += "<rect class=\"" + cls + "\" x=\"" + num(p.x - kMarkRadius) + "\" y=\"" +
           num(p.y - kMarkRadius) + "\" width=\"" + num(2 * kMarkRadius) + "\" height=\"" +
           num(2 * kMarkRadius) + "\"/>";
  } else {
    svg += "<circle class=\"" + cls + "\" cx=\"" + num(p.x) + "\" cy=\"" + num(p.y) + "\" r=\"" +
           num(kMarkRadius) + "\"/>";
  }
  return svg + "</g>";
}

// The label of turnpoint i: its number as in the plan, its name, and the start or the finish
// named as such; placed where it overlaps no other label, with a line to its mark when it stands
// away from it.
std::string turnpoint_label_svg(const FlightPlan& fpl, int i, int n, const Frame& f, Layout& layout,
                                const MapTexts& texts) {
  const Vec p = f.at(fpl.tpx[i], fpl.tpy[i]);
  std::string label = std::to_string(i) + " " + plain_name(fpl.tpnam[i]);
  if (i == 1 && n > 2) {
    label += " (" + texts.start + ")";
  } else if (i == n - 1 && n > 2) {
    label += " (" + texts.finish + ")";
  }
  const Layout::Placed at = layout.place(Layout::around_point(p, kMarkRadius + 4), label.size());
  std::string svg;
  if (at.far) {
    svg += "<line class=\"label-line\" x1=\"" + num(p.x) + "\" y1=\"" + num(p.y) + "\" x2=\"" +
           num(at.x) + "\" y2=\"" + num(at.y - 4) + "\"/>";
  }
  return svg + "<text class=\"tp-name\" x=\"" + num(at.x) + "\" y=\"" + num(at.y) +
         "\" text-anchor=\"" + std::string(at.anchor) + "\">" + html_escape(label) + "</text>";
}

// The keys with violations down the left side, as many as the picture holds, then how many
// more there are; the page lists them all.
std::string key_marks_svg(const std::vector<const MapMarks::Place*>& keys, long long others,
                          const Frame& f, Layout& layout, const MapTexts& texts) {
  std::string svg;
  double ky = 20;
  std::size_t listed = 0;
  std::size_t widest = 0;
  for (const MapMarks::Place* place : keys) {
    if (ky > f.height() - 48 && listed + 1 < keys.size()) break;
    svg += "<text class=\"key-mark bad\" x=\"12\" y=\"" + num(ky) + "\"><title>" +
           tooltip_lines(*place, texts) + "</title>" + html_escape(place->key) + "</text>";
    widest = std::max(widest, place->key.size());
    ky += 15;
    ++listed;
  }
  const long long rest = static_cast<long long>(keys.size() - listed) + others;
  if (rest > 0) {
    svg +=
        "<text class=\"more\" x=\"12\" y=\"" + num(ky) + "\">+" + std::to_string(rest) + "</text>";
    ky += 15;
  }
  if (ky > 20) layout.take({8, 6, 14 + static_cast<double>(widest) * kCharWidth, ky - 10});
  return svg;
}

// The key of a finding as the map lists it: with its weather zone.
std::string key_with_zone(const Finding& f) {
  return f.weather_zone >= 0 ? f.key + "[" + std::to_string(f.weather_zone) + "]" : f.key;
}

void add_line(MapMarks::Place& place, const Finding& f, Language language) {
  if (place.lines.size() < MapMarks::kTooltipLines) {
    place.lines.push_back(report_line(f, language));
  } else {
    ++place.more;
  }
}

}  // namespace

void MapMarks::add(const Finding& f) {
  if (f.verdict == Verdict::ok) return;
  if (f.turnpoint >= 0 && f.turnpoint <= maxtp) {
    Place& place = at_turnpoint_[f.turnpoint];
    if (place.key.empty()) place.key = key_with_zone(f);
    add_line(place, f, language_);
    return;
  }
  const std::string key = key_with_zone(f);
  auto found = at_key_.find(key);
  if (found == at_key_.end()) {
    if (at_key_.size() >= kKeys) {
      ++other_keys_;
      return;
    }
    found = at_key_.emplace(key, Place{key, {}, 0}).first;
  }
  add_line(found->second, f, language_);
}

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

PlanForMap plan_file_for_map(const std::string& path) {
  TextFile file;
  if (!file.open(path, TextFile::Decoding::detect_utf8))
    return {std::nullopt, MapProblem::cannot_open};
  return plan_for_map(file);
}

std::string task_map_svg(const FlightPlan& fpl, const MapMarks& marks, const MapTexts& texts) {
  const int n = std::clamp(fpl.nb_wp, 0, maxtp + 1);
  const std::vector<int> drawn_zones =
      drawable_penalty_zones(fpl, std::clamp(fpl.nb_pz, 0, maxpz + 1));
  const Frame f = task_frame(fpl, n, drawn_zones);
  Layout layout(f.height());

  // The places of turnpoints beyond the task's are listed with the keys.
  std::vector<const MapMarks::Place*> keys;
  for (const auto& [turnpoint, place] : marks.at_turnpoint()) {
    if (turnpoint >= n) keys.push_back(&place);
  }
  for (const auto& [key, place] : marks.at_key())
    keys.push_back(&place);

  std::string svg = "<svg class=\"task-map\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    num(kWidth) + "\" height=\"" + num(f.height()) + "\" viewBox=\"0 0 " +
                    num(kWidth) + " " + num(f.height()) + "\">";
  svg += penalty_zones_svg(fpl, drawn_zones, f, texts);
  for (int i = 1; i < n; ++i)
    svg += zone_shape(fpl, i, f);
  svg += legs_svg(fpl, n, f, layout);
  for (int i = 0; i < n; ++i) {
    const auto bad = marks.at_turnpoint().find(i);
    svg += turnpoint_mark_svg(fpl, i, n, f,
                              bad == marks.at_turnpoint().end() ? nullptr : &bad->second, texts);
    layout.take(around(f.at(fpl.tpx[i], fpl.tpy[i]), kMarkRadius + 1));
  }
  layout.take({kWidth - 30, 10, kWidth - 6, 52});  // the north
  svg += key_marks_svg(keys, marks.other_keys(), f, layout, texts);
  svg += "<g class=\"north\"><path d=\"M" + point(kWidth - 24, 34) + " L" + point(kWidth - 18, 16) +
         " L" + point(kWidth - 12, 34) + " Z\"/><text x=\"" + num(kWidth - 22) + "\" y=\"48\">" +
         html_escape(texts.north) + "</text></g>";
  svg += scale_bar(f, layout);
  for (int i = 0; i < n; ++i)
    svg += turnpoint_label_svg(fpl, i, n, f, layout, texts);
  svg += leg_lengths_svg(fpl, n, f, layout);
  svg += "</svg>";
  return svg;
}

std::string map_legend_html(const MapTexts& texts) {
  // Each symbol in a picture of its own, drawn with the maps' classes.
  const auto entry = [](const std::string& symbol, const std::string& text) {
    return "<li><svg class=\"symbol\" width=\"24\" height=\"14\" viewBox=\"0 0 24 14\">" + symbol +
           "</svg>" + html_escape(text) + "</li>";
  };
  const std::string dot = "cx=\"12\" cy=\"7\" r=\"5\"";
  std::string html = "<ul class=\"legend\">";
  html += entry("<rect class=\"tp-mark takeoff\" x=\"7\" y=\"2\" width=\"10\" height=\"10\"/>",
                texts.take_off);
  html += entry("<circle class=\"tp-mark start\" " + dot + "/>", texts.start);
  html += entry("<circle class=\"tp-mark\" " + dot + "/>", texts.turnpoint);
  html += entry("<circle class=\"tp-mark finish\" " + dot + "/>", texts.finish);
  html += entry("<circle class=\"tp-mark bad\" " + dot + "/>", texts.violation);
  html += entry("<path class=\"oz\" d=\"M4,12 L12,1 L20,12 Z\"/>", texts.observation_zone);
  html +=
      entry("<rect class=\"pz\" x=\"3\" y=\"2\" width=\"18\" height=\"10\"/>", texts.penalty_zone);
  html += entry(
      "<line class=\"leg\" x1=\"1\" y1=\"7\" x2=\"23\" y2=\"7\"/>"
      "<path class=\"leg arrow\" d=\"M17,7 L8,2.5 L8,11.5 Z\"/>",
      texts.leg);
  html += entry("<line class=\"leg takeoff-leg\" x1=\"1\" y1=\"7\" x2=\"23\" y2=\"7\"/>",
                texts.take_off_leg);
  return html + "</ul>";
}

std::string task_km(double metres) {
  const double k = metres / 1000;
  return std::isfinite(k) ? fixed(k, 1) + " km" : std::string(kDash);
}

std::string fixed_or_dash(double v, int decimals) {
  return std::isfinite(v) ? fixed(v, decimals) : std::string(kDash);
}

std::string more_text(std::string_view pattern, long long more) {
  std::string text(pattern);
  const std::size_t at = text.find("<n>");
  if (at != std::string::npos) text.replace(at, 3, std::to_string(more));
  return text;
}

}  // namespace brevanto
