// Calendar dates as Julian day numbers (proleptic Gregorian calendar, Fliegel and Van Flandern).
#pragma once

#include <cstdint>

namespace brevanto {

// The Julian Day Number of a date: jd(2000, 1, 1) = 2451545.
std::int32_t jd(std::int32_t year, std::int32_t month, std::int32_t day);

// Kept for completeness: the program does not call it.
// The date of a Julian Day Number.
void gdate(std::int32_t jdn, std::int32_t& year, std::int32_t& month, std::int32_t& day);

}  // namespace brevanto
