// The judgement of a plan's value against a rule: whether the value satisfies the rule's
// relation, by the pair of their types. It words nothing: the finding it leads to is rendered
// apart (finding_text.hpp).
#pragma once

#include <string_view>

#include "console.hpp"
#include "rules_file.hpp"
#include "value_primitives.hpp"

namespace brevanto {

enum class Judgement {
  holds,
  violated,
  incompatible,  // a text against a number: not comparable
};

// Judges the plan's value, typed as `plan_value` (after the conversion an AGL or BASE rule asks
// for) and written as `val`, against `rule`. Only "=" between reals uses the relative tolerance
// `fltpntacy`; "[]" holds when the rule's text occurs in the value, whatever the types; "=" with
// a text holding ";" holds for any of its items, up to the first blank one. The diagnostic lines
// the comparisons write go to `trace` (the position found by "[]" only when `verbose`).
Judgement judge(Console& trace, const Constraint& rule, const TypedValue& plan_value,
                std::string_view val, float fltpntacy, bool verbose);

}  // namespace brevanto
