// The map of a plan's task, drawn as an SVG picture from the flight-plan model, north up and east
// to the right: in the simulator's files X grows westward and Y northward (metres), so a
// turnpoint to the east has the smaller X. The picture holds the turnpoints, numbered as in the
// plan, their observation zones, the legs with their direction and lengths, the start and the
// finish, the penalty zones, a scale bar in km, the north, and in red the turnpoints and keys
// that broke a rule. Labels are placed where they overlap neither one another nor the marks.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "findings.hpp"
#include "language.hpp"
#include "read_fpl_model.hpp"
#include "text_file.hpp"

namespace brevanto {

// Why a plan's task cannot be drawn.
enum class MapProblem { none, cannot_open, read_error, too_many_turnpoints, no_task, bad_position };

struct PlanForMap {
  std::optional<FlightPlan> fpl;  // the plan as the reader filled the model; none on a problem
  MapProblem problem = MapProblem::none;
};

// Reads the plan `file` (open at its first line) for its map, apart from the run: into a model
// of its own, its diagnostic lines thrown away as they come, without any message box (no
// airspace file is read: the map needs none), and without stopping for a plan with too many
// turnpoints. A plan that cannot be read to its end, has more than 31 turnpoints, none at all, or
// a position that is no number, comes back with its problem.
PlanForMap plan_for_map(TextFile& file);
// The plan file at `path` read so, as the check read it (UTF-8 taken as such); cannot_open when
// it cannot be opened.
PlanForMap plan_file_for_map(const std::string& path);

// The texts the map and its legend write, in the report's language.
struct MapTexts {
  std::string start, finish, penalty_zone, north;
  // The legend's entries.
  std::string take_off, turnpoint, observation_zone, violation, leg, take_off_leg;
  std::string more;  // after a tooltip's last line: "... and <n> more (see the log)", the number
                     // standing for "<n>"
};

// The violations a map shows, gathered finding by finding: by turnpoint, and by key (with its
// weather zone) where no turnpoint holds the line; each place with the report lines of its
// tooltip. Bounded whatever the plan: a place keeps its first kTooltipLines lines and counts the
// others; the first kKeys keys are kept, the others counted.
class MapMarks {
 public:
  static constexpr std::size_t kTooltipLines = 200;
  static constexpr std::size_t kKeys = 48;  // more than the picture can list

  struct Place {
    std::string key;                 // the key of its first line, with its zone
    std::vector<std::string> lines;  // report lines
    long long more = 0;              // lines not kept
  };

  explicit MapMarks(Language language) : language_(language) {}
  // A finding of the plan; a satisfied rule is no mark.
  void add(const Finding& finding);

  const std::map<int, Place>& at_turnpoint() const { return at_turnpoint_; }
  const std::map<std::string, Place>& at_key() const { return at_key_; }
  long long other_keys() const { return other_keys_; }

 private:
  Language language_;
  std::map<int, Place> at_turnpoint_;
  std::map<std::string, Place> at_key_;
  long long other_keys_ = 0;
};

// The <svg> element of the task of `fpl`, in Windows-1252, texts escaped for HTML. The places of
// `marks` are drawn in red, their report lines as the tooltip.
std::string task_map_svg(const FlightPlan& fpl, const MapMarks& marks, const MapTexts& texts);

// The legend of the maps, as an HTML list whose symbols are drawn as the maps draw them.
std::string map_legend_html(const MapTexts& texts);

// A task distance in km with one decimal, "–" (Windows-1252) when it is no finite number.
std::string task_km(double metres);

// A real in fixed notation with `decimals` decimals, whatever the locale; "–" (Windows-1252) when
// it is no finite number.
std::string fixed_or_dash(double v, int decimals);

// "... and 50 more (see the log)" of the pattern "... and <n> more (see the log)".
std::string more_text(std::string_view pattern, long long more);

}  // namespace brevanto
