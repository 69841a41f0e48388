#include "real_chars.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

// The C library's conversions stand in for <charconv> in the browser build: here they are held
// to the native library's results, byte for byte.
namespace brevanto {
namespace {

std::string shortest(float v, bool c_library) {
  char buf[64];
  const auto r = c_library ? c_library::real_to_chars(buf, buf + sizeof buf, v)
                           : std::to_chars(buf, buf + sizeof buf, v);
  EXPECT_EQ(r.ec, std::errc()) << v;
  return {buf, r.ptr};
}

TEST(RealChars, DecimalValueReadsOnlyDecimalsAsFromChars) {
  const double min_subnormal = std::numeric_limits<double>::denorm_min();
  EXPECT_EQ(decimal_value("2.4703282292062328e-324"), min_subnormal);  // just past the halfway
  EXPECT_EQ(decimal_value("0e-400"), 0.0);                             // zero is no underflow
  EXPECT_TRUE(std::signbit(*decimal_value("-0")));
  for (const char* text : {"2.4703282292062327e-324", "1e-400", "1e309", "+1", " 1", "0x10", "inf",
                           "-nan", "1e", ".", "-", "1.5e+3x", ""}) {
    EXPECT_FALSE(decimal_value(text).has_value()) << text;
  }
  for (const char* text : {"9007199254740993",
                           "9007199254740993.0000000001",
                           "0.30000000000000004",
                           "1e23",
                           "8.5e-23",
                           "1e-310",
                           "2.2250738585072011e-308",
                           "1.7976931348623157e308",
                           "1.7976931348623159e308",
                           "2.4703282292062327e-324",
                           "-0.0e-5",
                           "5.",
                           ".5",
                           "-.5E+1",
                           "123456789012345678901234567890.123456789",
                           "1e-400",
                           "0x10",
                           "+1",
                           "inf",
                           "1.2.3"}) {
    const std::optional<double> native = decimal_value(text);
    const std::optional<double> c = c_library::decimal_value(text);
    ASSERT_EQ(c.has_value(), native.has_value()) << text;
    if (native) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(*c), std::bit_cast<std::uint64_t>(*native)) << text;
    }
  }
}

TEST(RealChars, ShortestRealAsToChars) {
  const std::pair<float, const char*> cases[] = {
      {1e5f, "1e+05"},
      {123456792.0f, "123456792"},
      {0x1p90f, "1.2379401e+27"},
      {0x1p-96f, "1.2621775e-29"},
      {1e-4f, "1e-04"},
      {1e-3f, "0.001"},
      {1.4e-45f, "1e-45"},
      {-0.0f, "-0"},
      {2.5f, "2.5"},
      {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::quiet_NaN(), "-nan"}};
  for (const auto& [value, text] : cases)
    EXPECT_EQ(shortest(value, true), text);
  // Next to a power of two the shortest digits are hardest to find: every one of them, then a
  // sample of all the others.
  for (int e = -149; e <= 127; ++e) {
    const float p = std::ldexp(1.0f, e);
    for (const float v : {p, -p, std::nextafter(p, 0.0f),
                          std::nextafter(p, std::numeric_limits<float>::infinity())})
      ASSERT_EQ(shortest(v, true), shortest(v, false)) << std::hexfloat << v;
  }
  std::mt19937 random(26);
  for (int i = 0; i < 100000; ++i) {
    const auto v = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    ASSERT_EQ(shortest(v, true), shortest(v, false)) << std::hexfloat << v;
  }
}

TEST(RealChars, LayoutsWithPrecisionAsToChars) {
  for (const double v : {0.125, 0.375, 2.5, 3.5, -2.5, 0.05, -0.0, 1e22, 5e-324, 123456.0, 999500.0,
                         1.7976931348623157e308}) {
    for (const auto format :
         {std::chars_format::fixed, std::chars_format::scientific, std::chars_format::general}) {
      for (const int precision : {0, 1, 2, 3}) {
        char a[400];
        char b[400];
        const auto ra = std::to_chars(a, a + sizeof a, v, format, precision);
        const auto rb = c_library::real_to_chars(b, b + sizeof b, v, format, precision);
        ASSERT_EQ(ra.ec, std::errc());
        EXPECT_EQ(std::string(b, rb.ptr), std::string(a, ra.ptr)) << v << " " << precision;
      }
    }
  }
  char small[4];
  EXPECT_EQ(
      c_library::real_to_chars(small, small + sizeof small, 12345.0, std::chars_format::fixed, 0)
          .ec,
      std::errc::value_too_large);
}

}  // namespace
}  // namespace brevanto
