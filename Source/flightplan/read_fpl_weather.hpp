// The keys of a flight plan's weather sections, of its [Plane] section and its game options
// and task date. Each routine returns true when the key is one of its own (the line is then
// handled, whether or not its value converted) and false to let the reader try the next table.
// Keys are compared whole and case-sensitively, except the "Polygon" prefix.
#pragma once

#include <string_view>

#include "console.hpp"
#include "read_fpl_model.hpp"

namespace brevanto {

// A weather key (the caller tries these only inside a weather section). Zone values go to
// `current_zone`, the reader's current zone; a "Polygon" line makes its own zone the current one.
// Keys of a zone outside the model (0..16), and polygon points outside 0..16, are ignored. `line`
// is the working line, from which a "Polygon" line takes its indices.
bool read_weather_key(Console& con, FlightPlan& fpl, std::string_view key, std::string_view val,
                      std::string_view line, long long& current_zone);

// A glider key (the caller tries these only inside [Plane]).
bool read_plane_key(FlightPlan& fpl, std::string_view key, std::string_view val);

// An option, penalty or task-date key, valid in any section.
bool read_option_key(Console& con, FlightPlan& fpl, std::string_view key, std::string_view val);

}  // namespace brevanto
