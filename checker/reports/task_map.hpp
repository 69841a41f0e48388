// The map of a plan's task, drawn as an SVG picture from the flight-plan model: the turnpoints at
// their positions (X to the east, Y to the north, metres; north up), their observation zones, the
// legs with their lengths, the start and the finish, the penalty zones, a scale bar in km, and in
// red the turnpoints and keys that broke a rule.
#pragma once

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

// The texts the map writes, in the report's language.
struct MapTexts {
  std::string start, finish, penalty_zone, north;
  Language language = Language::english;  // of the findings' report lines in the tooltips
};

// The <svg> element of the task of `fpl`, in Windows-1252, texts escaped for HTML. The turnpoints
// and keys of the `findings` with a violation (or incompatible types) are drawn in red, their
// report lines as the tooltip.
std::string task_map_svg(const FlightPlan& fpl, const std::vector<Finding>& findings,
                         const MapTexts& texts);

}  // namespace brevanto
