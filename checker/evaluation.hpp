// The check of one flight plan against the constraint table: the plan is read line by line, each
// line's key is compared with every constraint's key, and each violation is reported in the
// journal and collected, in short form, for the plan's popup.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "findings.hpp"
#include "io.hpp"
#include "language.hpp"
#include "rules_file.hpp"
#include "settings.hpp"
#include "text_file.hpp"

namespace brevanto {

// The see-file text, in French and in English: what a popup shows in place of the report lines
// that no longer fit. seefile_text() picks the one of a language.
inline constexpr std::array<std::string_view, 2> seefile = {"... Voir le fichier Brevanto.log",
                                                            "... See file Brevanto.log"};
std::string_view seefile_text(Language language);

// What a plan leaves to the next one: the last turnpoint ground altitude and weather-zone count
// seen, used until the next plan gives its own. Owned by the run, 0 at its start.
struct PlanCarry {
  float tpposz = 0;
  int nb_wxz = 0;
};

// How the scan of a plan ended.
enum class ScanEnd {
  end_of_file,   // normal end
  blank_as_end,  // a turnpoint number, zone count or zone number was blank: a normal end too
  read_error,    // the file failed, or a number of an interpreted line did not read
};

struct PlanCheckResult {
  int nl = 0;         // lines read by the scan (where it stopped, for a read error)
  int nl_nok = 0;     // invalid lines: one per pair of plan line and constraint, and one for
                      // each line the check adds about the plan itself (below)
  std::string msg00;  // the violations in short form, each after a line feed and "-", as shown
  ScanEnd end = ScanEnd::end_of_file;
  bool not_a_plan = false;  // the file holds no flight-plan line at all
};

// Checks the plan `plan` (open, at its first line) against `table`. `cloud_base` is the plan's
// cloud base (0 when no constraint is a BASE value); `name_length` the length of the plan's name
// as its popup shows it, which bounds how much of msg00 a popup can show. Report lines go to the
// journal in the language s.language; s.qverb adds console lines, s.qoklines an "OK" line per
// satisfied constraint, s.fltpntacy is the tolerance of "=" between reals, s.ui_language chooses
// the see-file text. Keys ending with "|" are made the plan's finish turnpoint in `table`;
// restore_finish_keys() undoes it. Any replacement left by an earlier plan is undone first. A
// plan whose Count is missing or does not read is checked against every rule but those, and a
// report line says why they were not. With s.qmissing, each rule whose key no line of the plan
// holds is reported as an invalid line after the others (for the turnpoint wildcards "$", "?" and
// "%", each turnpoint of their range on its own). A file read to its end without any line of the
// flight-plan format gets one invalid line saying it is no flight plan. When
// the run hands a `record`, each rule found to apply to a line is marked in it, and each reported
// line (the violations, and the OK lines of s.qoklines) is added to it as a finding.
PlanCheckResult check_plan(const Io& io, const RunSettings& s, ConstraintTable& table,
                           PlanCarry& carry, TextFile& plan, float cloud_base, int name_length,
                           FindingsRecord* record = nullptr);

// Gives every key whose "|" stands replaced its form ending with "|" again (console lines when
// `qverb`), whatever the way the plan's scan ended.
void restore_finish_keys(Console& con, bool qverb, ConstraintTable& table);

}  // namespace brevanto
