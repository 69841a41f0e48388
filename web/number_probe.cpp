// Prints what the number reader and the number layouts make of hard cases and of a sweep of
// random values, one line per case and a digest per sweep. Built natively and with em++
// (web/compare_numbers.sh), the two outputs must be the same byte for byte: the browser build
// reads and writes every number as the native program does.
//
//   number_probe [SWEEP]        SWEEP random values per sweep, default 1000000
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "fortran_format.hpp"
#include "number_read.hpp"
#include "real_chars.hpp"

namespace {

using namespace brevanto;

// Emscripten's libc++ has no std::bit_cast.
std::uint32_t bits(float v) {
  std::uint32_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

std::uint64_t bits(double v) {
  std::uint64_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

float real_of(std::uint32_t b) {
  float v = 0;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

std::string shortest(float v) {
  char line[64];
  TraceWriter w(line);
  w.add(v);
  return {line, w.end()};
}

std::string layout(double v, std::chars_format format, int precision) {
  char buf[400];
  const auto r = real_to_chars(buf, buf + sizeof buf, v, format, precision);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

void show_reading(const std::string& text) {
  std::printf("[%s]", text.c_str());
  const std::optional<std::int32_t> i = read_int(text);
  if (i) std::printf(" int %" PRId32, *i);
  const std::optional<float> r = read_real(text);
  if (!r) {
    std::printf(" real none\n");
    return;
  }
  const auto v = static_cast<double>(*r);
  std::printf(" real %08" PRIx32 " %s |%s| %s %s %s\n", bits(*r), shortest(*r).c_str(),
              fmt_f(v, 14, 4).c_str(), layout(v / 1000, std::chars_format::fixed, 1).c_str(),
              layout(v, std::chars_format::fixed, 0).c_str(),
              layout(v, std::chars_format::general, 3).c_str());
}

// FNV-1a over the texts of a sweep.
struct Digest {
  std::uint64_t h = 14695981039346656037ULL;
  void add(const std::string& s) {
    for (const char c : s)
      h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    h = (h ^ 0xFFU) * 1099511628211ULL;
  }
};

}  // namespace

int main(int argc, char** argv) {
  const long sweep = argc > 1 ? std::atol(argv[1]) : 1000000;

  const char* const texts[] = {
      // Forms of the plans and rules files, and junk.
      "2.5", ".5", "5.", "-0", "+0", "-0.0", "0", "12", "1,5", "1013,25", " 2.5 km", "\t7", "",
      "   ", "1.5D2", "15d-1", "+2e+2", "-1.5E3", "12/2026", "1e", "1e+", "e5", ".", "-.", "+.5",
      "-.5e1", "abc", "0x10", "0x1p3", "inf", "-inf", "nan", "1.2.3", "1_000", "3000.0",
      "2147483647", "-2147483648", "2147483648",
      // Halfway cases between two doubles and two floats, and just off them.
      "9007199254740993", "9007199254740993.0000000001", "9007199254740995",
      "1.00000000000000011102230246251565404236316680908203125",
      "1.00000000000000011102230246251565404236316680908203126", "16777217", "16777217.000001",
      "16777219", "0.1", "0.2", "0.3", "0.30000000000000004", "1.0000000596046447753906250",
      "1.00000005960464477539062500001", "33554435", "8.5e-23", "1e22", "1e23", "123e30",
      // Subnormals and the edges of the two ranges.
      "1e-40", "1.4e-45", "1.401298464324817e-45", "7.006492321624085e-46", "7.006492321624086e-46",
      "1e-46", "1e-310", "4.9406564584124654e-324", "2.4703282292062328e-324",
      "2.4703282292062327e-324", "1e-400", "0e999999", "-0.0e-5", "2.2250738585072011e-308",
      "2.2250738585072012e-308", "1.17549435e-38", "1.1754942e-38", "3.4028235e38",
      "3.4028234663852886e38", "3.4028235677973366e38",
      "3.40282356779733661637539395458142568448e38", "3.4028236e38", "1e38", "-1e38", "1e39",
      "1e308", "1e309", "1e999999999999",
      // Many digits.
      "123456789012345678901234567890", "0.000000000000000000000000000000000000000000001401298",
      "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899",
      "-99999999999999999999999999999999999999.9", "00000000000000000000000000000000000001.5"};
  for (const char* t : texts)
    show_reading(t);
  // A long run of digits, as a hostile plan may carry.
  show_reading("0." + std::string(800, '0') + "1e790");
  show_reading(std::string(400, '9'));
  show_reading("1" + std::string(38, '0'));

  // fmt_f and the fixed and general layouts at their ties and extremes.
  const double values[] = {
      0.125, 0.375,  2.5,    3.5, -2.5,   1.0005,   0.05,    -0.0,
      1e22,  5e-324, 123456, 1e6, 999500, 999499.9, 1.5e300, 1.7976931348623157e308,
      -1e-7, 0.5,    1.5};
  for (const double v : values) {
    std::printf("%016" PRIx64 " |%s|%s|%s| %s %s %s %s\n", bits(v), fmt_f(v, 8, 2).c_str(),
                fmt_f(v, 6, 0).c_str(), fmt_f(v, 400, 3).c_str(),
                layout(v, std::chars_format::fixed, 2).c_str(),
                layout(v, std::chars_format::fixed, 0).c_str(),
                layout(v, std::chars_format::general, 3).c_str(),
                layout(v, std::chars_format::scientific, 4).c_str());
  }

  // Sweeps: every kind of 32-bit real written shortest; decimal texts read; doubles laid out.
  std::mt19937_64 random(2026);
  Digest floats;
  for (long i = 0; i < sweep; ++i)
    floats.add(shortest(real_of(static_cast<std::uint32_t>(random()))));
  std::printf("floats written %ld digest %016" PRIx64 "\n", sweep, floats.h);

  Digest reads;
  for (long i = 0; i < sweep; ++i) {
    std::string text = random() % 2 == 0 ? "-" : "";
    const auto digits = 1 + random() % 24;
    const auto point = random() % 26;  // none past the last digit
    for (std::uint64_t d = 0; d < digits; ++d) {
      if (d == point) text += '.';
      text += static_cast<char>('0' + random() % 10);
    }
    text += "e" + std::to_string(static_cast<int>(random() % 100) - 60);
    const std::optional<float> r = read_real(text);
    reads.add(r ? std::to_string(bits(*r)) : "none");
  }
  std::printf("texts read %ld digest %016" PRIx64 "\n", sweep, reads.h);

  Digest layouts;
  for (long i = 0; i < sweep / 10; ++i) {
    // Two statements: the order in which a call's arguments are drawn differs between compilers.
    const auto mantissa = static_cast<double>(random() >> 11);
    const double v = std::ldexp(mantissa, static_cast<int>(random() % 120) - 90);
    layouts.add(layout(v, std::chars_format::fixed, 1));
    layouts.add(layout(v, std::chars_format::general, 3));
    layouts.add(fmt_f(v, 12, 3));
  }
  std::printf("doubles laid out %ld digest %016" PRIx64 "\n", sweep / 10, layouts.h);
  return 0;
}
