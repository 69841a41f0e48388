#include "dates.hpp"

namespace brevanto {

// Integer arithmetic throughout, divisions truncating toward zero as the algorithm requires.
std::int32_t jd(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::int64_t y = year, m = month, d = day;
  const std::int64_t a = (m - 14) / 12;
  return static_cast<std::int32_t>(d - 32075 + 1461 * (y + 4800 + a) / 4 +
                                   367 * (m - 2 - a * 12) / 12 - 3 * ((y + 4900 + a) / 100) / 4);
}

void gdate(std::int32_t jdn, std::int32_t& year, std::int32_t& month, std::int32_t& day) {
  std::int64_t l = static_cast<std::int64_t>(jdn) + 68569;
  const std::int64_t n = 4 * l / 146097;
  l = l - (146097 * n + 3) / 4;
  const std::int64_t i = 4000 * (l + 1) / 1461001;
  l = l - 1461 * i / 4 + 31;
  const std::int64_t j = 80 * l / 2447;
  day = static_cast<std::int32_t>(l - 2447 * j / 80);
  l = j / 11;
  month = static_cast<std::int32_t>(j + 2 - 12 * l);
  year = static_cast<std::int32_t>(100 * (n - 49) + i + l);
}

}  // namespace brevanto
