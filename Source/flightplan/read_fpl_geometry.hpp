// Operations on the flight-plan model around a read: the reset that gives every field its default
// before a plan is read, the escaping of turnpoint names, and the leg lengths computed once a plan
// has been read.
#pragma once

#include <cstddef>
#include <string>

#include "console.hpp"
#include "read_fpl_model.hpp"

namespace brevanto {

// Every field to its default (the model's initial value), the fields of PlanCarryOver kept.
// The reader runs it before each plan.
void reset_plan(FlightPlan& fpl);

// The same reset in three parts, kept for completeness: the program runs reset_plan. Run in the
// order init_read_fpl, init_glider, init_wp, they make reset_plan.
//
// Everything but the glider records and tpsecdir to its default, except tpsec, tprad and tpang,
// which it clears to 0; PlanCarryOver kept.
void init_read_fpl(FlightPlan& fpl);

// The glider records to their defaults: names blank, masses 0, seat 1, no bug wipers, the polar 0.
void init_glider(FlightPlan& fpl);

// nb_wp 0 and every turnpoint to the working defaults: sector type 1, radius 3000 m, angle 90,
// direction 0, positions and sector sizes 0, name blank.
void init_wp(FlightPlan& fpl);

// Makes a name safe for XML text: every "<" becomes "&lt;", then every ">" becomes "&gt;". The
// result is cut back to `width` characters after each replacement. "&" is left as it is.
void cleanup_name(std::string& str, std::size_t width);

// The leg lengths in the plane: tpdist(n) for n = 1 .. nb_wp-1, the last leg shortened by the
// finish radius when the finish sector is a full circle (angle 360); dist_tot sums the legs from
// the start point on (leg 1, take-off to start, is not part of the task). Writes one trace line
// per leg and a "Tot dist" line.
void compute_dist(Console& con, FlightPlan& fpl);

}  // namespace brevanto
