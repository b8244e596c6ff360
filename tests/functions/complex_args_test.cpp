#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "core/base/error_code.h"
#include "core/numfmt/double_to_text.h"
#include "functions/complex_args.h"
#include "functions/complex_text.h"
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

}  // namespace
