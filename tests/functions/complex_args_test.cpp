#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/base/error_code.h"
#include "core/numfmt/double_to_text.h"
#include "functions/complex_args.h"
#include "functions/complex_text.h"
#include "tests/core/eval_test_cells.h"
#include "tests/functions/formula_result_text.h"
#include "tests/test_seed.h"

namespace {

// A number argument reads as the complex number its text spells, bit for
// bit, whether or not it takes the way through its text: integers, sixteenths
// up to and past 1e10, fractions that 15 digits round, and the extremes.
TEST(GetArgComplex, ReadsANumberAsItsTextReads) {
  const uint32_t seed = TestSeed(7);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937_64 random(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::vector<double> numbers = {0.0,   -0.0,   1.0,  -2.5,  0.0625,  1e10 - 0.0625, -1e10 + 0.0625,
                                 1e10,  1e15,   1e-14, 5e-15, 1e300,  4503599627370497.0, 0.1};
  for (int i = 0; i < 4000; ++i) {
    const double scale = std::ldexp(1.0, int(random() % 80) - 20);
    switch (i % 4) {
      case 0:
        numbers.push_back(std::floor(unit(random) * scale));
        break;
      case 1:
        numbers.push_back(std::floor(unit(random) * scale * 16.0) / 16.0);
        break;
      case 2:
        numbers.push_back(std::floor(unit(random) * scale * 1024.0) / 1024.0);
        break;
      default:
        numbers.push_back(unit(random) * scale);
        break;
    }
  }
  EvalState state;
  for (const double x : numbers) {
    SCOPED_TRACE(x);
    char text[kDoubleTextCapacity];
    DoubleToText(x, text, sizeof text, nullptr);
    Complex expected{99.0, 99.0};
    const bool parses = ParseComplex(text, &expected.re, &expected.im);
    state.operandTop = 1;
    state.operands[1].Clear();
    state.operands[1].kind = kEvalNumber;
    state.operands[1].number = x;
    Complex got{99.0, 99.0};
    ASSERT_EQ(GetArgComplex(state, 1, &got), parses ? 0 : kErrorValue);
    if (!parses) continue;
    EXPECT_EQ(std::memcmp(&got.re, &expected.re, sizeof got.re), 0) << got.re << " vs " << expected.re;
    EXPECT_EQ(std::memcmp(&got.im, &expected.im, sizeof got.im), 0);
  }
}

using NestedComplex = FormulaTableTest;

// A complex result read again by the function around it gives the parts
// its text reads as, bit for bit: parts that write exactly (sixteenths up
// to 1e10, which skip the parsing) and parts that do not, signs and zeros of
// either sign; a text that differs from the last result is parsed.
TEST_F(NestedComplex, ReadsAResultAsItsTextReads) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937_64 random(seed);
  const auto part = [&random]() {
    const double whole = double(int64_t(random() % 2000001) - 1000000);
    switch (random() % 6) {
      case 0:
        return 0.0;
      case 1:
        return -0.0;
      case 2:
        return whole * 8192.0 + double(random() % 16) / 16.0;  // near 1e10
      case 3:
        return whole / 1024.0;
      default:
        return whole / 16.0;
    }
  };
  for (int trial = 0; trial < 1500; ++trial) {
    char text[2 * kDoubleTextCapacity + 8];
    for (uint16_t column = 0; column < 2; ++column) {
      const double re = part();
      const double im = part();
      if (random() % 4 == 0) {
        PutNumber(sheet, column, 0, re);
      } else {
        ComplexToText(re, im, random() % 2 ? "i" : "j", text, sizeof text);
        PutText(sheet, column, 0, text);
      }
    }
    const std::string sum = Run("=IMSUM(A1:B1)");
    if (sum[0] != '"') continue;
    const std::string written = sum.substr(1, sum.size() - 2);
    Complex expected{};
    ASSERT_TRUE(ParseComplex(written.c_str(), &expected.re, &expected.im)) << written;
    for (const char* outer : {"=IMREAL(IMSUM(A1:B1))", "=IMAGINARY(IMSUM(A1:B1))"}) {
      Run(outer);
      const double want = outer[3] == 'R' ? expected.re : expected.im;
      ASSERT_EQ(state.operands[1].error, 0u) << outer << " " << written;
      EXPECT_EQ(std::memcmp(&state.operands[1].number, &want, sizeof want), 0) << outer << " " << written;
    }
    // The same text with its last digit changed is another number.
    std::string other = written;
    const size_t digit = other.find_last_of("0123456789");
    other[digit] = other[digit] == '9' ? '8' : char(other[digit] + 1);
    Complex otherExpected{};
    if (ParseComplex(other.c_str(), &otherExpected.re, &otherExpected.im)) {
      Run("=IMSUM(A1:B1)");
      Run("=IMAGINARY(\"" + other + "\")");
      EXPECT_EQ(std::memcmp(&state.operands[1].number, &otherExpected.im, sizeof otherExpected.im), 0) << other;
    }
  }
}

}  // namespace
