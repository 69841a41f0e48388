// What the check of plans is told by the program around it: the few settings that change the
// report, whatever the settings file, the command line or the web page they come from.
#pragma once

#include "language.hpp"

namespace brevanto {

struct CheckOptions {
  Language language = Language::english;  // of the report
  float fltpntacy = 1.0e-6f;              // relative tolerance of "=" between reals
  bool qverb = false;                     // more diagnostic lines on the console
  bool qoklines = false;                  // report every satisfied rule too
  bool qmissing = false;                  // report the rules whose key a plan lacks
  bool qkeepgoing = false;                // a plan that cannot be read does not end the check
  bool slash_separates_folders = false;   // "/" separates the folders of a plan's path, so that
                                          // a "." in them is no extension
};

}  // namespace brevanto
