#pragma once

namespace brevanto {

// 1 when the user interface language is French (any French variant), else 0.
int IsLanguageFrench();

}  // namespace brevanto
