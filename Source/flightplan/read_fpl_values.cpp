#include "read_fpl_values.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "chars.hpp"
#include "fixed_text.hpp"
#include "is_true.hpp"
#include "number_read.hpp"

namespace brevanto {

std::optional<long long> read_index(std::string_view text) {
  if (const auto v = read_int(text)) return *v;
  std::string_view item = first_item(text);
  const bool negative = !item.empty() && item[0] == '-';
  if (!item.empty() && (item[0] == '+' || item[0] == '-')) item.remove_prefix(1);
  if (item.empty() || !std::all_of(item.begin(), item.end(), platform::is_digit)) {
    return std::nullopt;
  }
  // Digits only, yet not readable: beyond 32 bits, hence beyond every array of the model.
  return negative ? std::numeric_limits<long long>::min() : std::numeric_limits<long long>::max();
}

std::optional<std::int32_t> nint(double value) {
  const double r = std::round(value);  // halves away from zero
  if (!(r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max())) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(r);
}

float radians_to_degrees(float radians) {
  return radians * 180.0f / 3.1415927f;
}

void set_int(int& field, std::string_view val) {
  if (const auto v = read_int(val)) field = *v;
}

void set_real(float& field, std::string_view val) {
  if (const auto v = read_real(val)) field = *v;
}

void set_rounded(int& field, std::string_view val) {
  if (const auto v = read_real(val)) {
    if (const auto r = nint(*v)) field = *r;
  }
}

void set_rounded(float& field, std::string_view val) {
  if (const auto v = read_real(val)) {
    if (const auto r = nint(*v)) field = static_cast<float>(*r);
  }
}

void set_text(std::string& field, std::string_view val, std::size_t width) {
  field = fit(val, width);
}

void set_flag(bool& field, std::string_view val) {
  field = is_true(val);
}

std::optional<PolygonItem> split_polygon_item(std::string_view text) {
  text = text.substr(0, kKeyLen);
  PolygonItem item;
  std::size_t at = text.find('X');
  item.coord = 1;
  if (at == std::string_view::npos) {
    at = text.find('Y');
    item.coord = 2;
  }
  if (at == std::string_view::npos) return std::nullopt;
  const std::size_t eq = text.find('=', at + 1);
  if (eq == std::string_view::npos) return std::nullopt;
  item.point = read_index(text.substr(0, at));
  item.zone = read_index(text.substr(at + 1, eq - at - 1));
  item.value = read_real(text.substr(eq + 1));
  return item;
}

}  // namespace brevanto
