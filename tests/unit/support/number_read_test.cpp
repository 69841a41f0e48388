#include "number_read.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace brevanto {
namespace {

TEST(FirstItem, EndsAtBlankCommaOrSlash) {
  EXPECT_EQ(first_item("  5 km"), "5");
  EXPECT_EQ(first_item("1,5"), "1");
  EXPECT_EQ(first_item("12/2026"), "12");
  EXPECT_EQ(first_item("   "), "");
  EXPECT_EQ(first_item(",5"), "");
}

TEST(ReadInt, AcceptsOnlyAnIntegerItem) {
  EXPECT_EQ(read_int("3000"), 3000);
  EXPECT_EQ(read_int(" 3000 "), 3000);
  EXPECT_EQ(read_int("3000,5"), 3000);
  EXPECT_EQ(read_int("-3"), -3);
  EXPECT_EQ(read_int("+7"), 7);
  EXPECT_EQ(read_int("5 km"), 5);
  for (const char* bad :
       {"", "   ", "3000.0", "abc", "12:30", "1e5", "-", "+", "12abc", ",5", "/5", "0x10"}) {
    EXPECT_FALSE(read_int(bad).has_value()) << '"' << bad << '"';
  }
}

TEST(ReadInt, RejectsWhatOverflowsThirtyTwoBits) {
  EXPECT_EQ(read_int("2147483647"), 2147483647);
  EXPECT_EQ(read_int("-2147483648"), -2147483647 - 1);
  EXPECT_FALSE(read_int("2147483648").has_value());
  EXPECT_FALSE(read_int("-2147483649").has_value());
  EXPECT_FALSE(read_int("99999999999").has_value());
  EXPECT_FALSE(read_int(std::string(5000, '9')).has_value());
}

TEST(ReadReal, AcceptsIntegerFixedAndExponentForms) {
  EXPECT_FLOAT_EQ(*read_real("2.5"), 2.5f);
  EXPECT_FLOAT_EQ(*read_real(".5"), 0.5f);
  EXPECT_FLOAT_EQ(*read_real("5."), 5.0f);
  EXPECT_FLOAT_EQ(*read_real("12"), 12.0f);
  EXPECT_FLOAT_EQ(*read_real("-1.5E3"), -1500.0f);
  EXPECT_FLOAT_EQ(*read_real("15d-1"), 1.5f);
  EXPECT_FLOAT_EQ(*read_real("+2e+2"), 200.0f);
  EXPECT_FLOAT_EQ(*read_real("1.5D2"), 150.0f);
  EXPECT_FLOAT_EQ(*read_real("12.00001 "), 12.00001f);
  EXPECT_FLOAT_EQ(*read_real("1013,25"), 1013.0f);
}

// Short decimals are converted by the exact shortcut, long ones in full: both as the full
// conversion of the text to the nearest double, then to the nearest 32-bit real.
TEST(ReadReal, EveryFormConvertsAsTheFullConversion) {
  std::mt19937_64 random(14);
  for (int i = 0; i < 100000; ++i) {
    const char* signs[] = {"", "-", "+"};
    std::string text = signs[random() % 3];
    const auto digits = [&](std::uint64_t count) {
      for (std::uint64_t d = 0; d < count; ++d)
        text += static_cast<char>('0' + random() % 10);
    };
    digits(1 + random() % 19);
    if (random() % 4 != 0) {
      text += '.';
      digits(random() % 19);
    }
    std::size_t letter = std::string::npos;
    if (random() % 2 == 0) {
      letter = text.size();
      text += "eEdD"[random() % 4];
      text += signs[random() % 3];
      text += std::to_string(random() % 31);
    }
    // What the full conversion reads: no plus sign, "e" for the exponent.
    std::string full_text = text;
    if (letter != std::string::npos) full_text[letter] = 'e';
    if (full_text[0] == '+') full_text.erase(0, 1);
    const std::size_t plus = full_text.find("e+");
    if (plus != std::string::npos) full_text.erase(plus + 1, 1);
    double full = 0;
    std::from_chars(full_text.data(), full_text.data() + full_text.size(), full);
    const std::optional<float> got = read_real(text + (i % 2 == 0 ? " m" : ""));
    if (std::fabs(full) > std::numeric_limits<float>::max()) {
      EXPECT_FALSE(got.has_value()) << text;
    } else {
      ASSERT_TRUE(got.has_value()) << text;
      EXPECT_EQ(std::bit_cast<std::uint32_t>(*got),
                std::bit_cast<std::uint32_t>(static_cast<float>(full)))
          << text;
    }
  }
}

TEST(ReadReal, RejectsJunkAndOverflow) {
  for (const char* bad : {"", " ", ".", "-.", "a.b", "1.2.3", "1e", "1e+", "e5", "1.5x", "inf",
                          "nan", "1e40", "-1e39", "1e999999999999"}) {
    EXPECT_FALSE(read_real(bad).has_value()) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace brevanto
