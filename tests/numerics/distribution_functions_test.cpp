#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <random>

#include "numerics/continuous_cdfs.h"
#include "numerics/discrete_distributions.h"
#include "numerics/inverse_cdfs.h"
#include "numerics/special_functions.h"
#include "tests/numerics/statistics_formula.h"

namespace {

struct Case {
  const char* formula;
  double number;  // when error is 0
  uint8_t error;
  double tolerance;  // relative; 0 for exact
};

class DistributionFunctions : public StatisticsFormulaTest {
 protected:
  void Check(const Case& c) {
    SCOPED_TRACE(c.formula);
    const FormulaOutcome outcome = Evaluate(c.formula);
    ASSERT_EQ(outcome.kind, uint32_t(kEvalNumber));
    EXPECT_STREQ(ErrorName(outcome.error), ErrorName(c.error));
    if (c.error != kErrorNone || outcome.error != kErrorNone) return;
    if (c.tolerance == 0.0)
      EXPECT_EQ(outcome.number, c.number);
    else
      EXPECT_TRUE(RelativelyNear(outcome.number, c.number, c.tolerance));
  }
};

TEST_F(DistributionFunctions, ConventionsSentinelsAndArgumentErrors) {
  const Case cases[] = {
      // Lower tails throughout.
      {"=CHIDIST(0.5, 1)", 0.52049987781304652, 0, 1e-12},
      {"=CHIDIST(-3, 4)", 0.0, 0, 0},
      {"=TDIST(0, 7)", 0.5, 0, 0},
      {"=NORMDIST(3, 3, 2, 1)", 0.5, 0, 0},
      {"=FDISTP(0, 3, 4)", 0.0, 0, 0},
      // Sentinels outside (0, 1).
      {"=NORMINV(1, 5, 2)", 1e10, 0, 0},
      {"=NORMSINV(0)", -1e10, 0, 0},
      {"=NORMSINV(0.5)", 0.0, 0, 0},
      {"=CHIINV(0, 3)", 0.0, 0, 0},
      {"=CHIINV(1.5, 3)", 1e10, 0, 0},
      {"=FINV(1, 2, 3)", 1e10, 0, 0},
      {"=TINV(1, 5)", 1.7976931348623157e308, 0, 0},
      {"=CONFIDENCE(0, 2, 4)", 1e10, 0, 0},
      {"=TINV(0.5, 9)", 0.0, 0, 0},
      // Bounds and argument errors.
      {"=FISHER(1)", 0, kErrorNum, 0},
      {"=FISHER(1.5)", 0, kErrorNum, 0},
      {"=TDIST(1, 0)", 0, kErrorNum, 0},
      {"=BINOMDIST(3, 10, 1.5, 0)", 0, kErrorNum, 0},
      {"=CHIDIST(\"abc\", 2)", 0, kErrorNum, 0},
      {"=CHIDIST(1/0, 2)", 0, kErrorDivZero, 0},
      {"=NORMSDIST(\"0\")", 0.5, 0, 0},
      {"=PERMUT(3, 5)", 0.0, 0, 0},
      {"=PERMUT(10, 3)", 720.0, 0, 0},
      {"=PERMUT(2000000000, 2000000000)", 0, kErrorNum, 0},
      {"=POISSON(2.5, 2, 0)", 0.38278598604164377, 0, 1e-12},  // 2^2.5 e^-2 / 2!
      {"=POISSON(3, 0, 1)", 0, kErrorNum, 0},
      {"=HYPGEOMDIST(1, 4, 8, 3)", 0, kErrorNum, 0},
      {"=HYPGEOMDIST(5, 4, 8, 20)", 0.0, 0, 0},
      {"=CRITBINOM(10, 0.5, 1)", 10.0, 0, 0},
      {"=CRITBINOM(10, 0.5, 0)", 0.0, 0, 0},
      {"=NORMDIST(1, 0, 0, 1)", 0, kErrorDivZero, 0},
      {"=STANDARDIZE(4, 1, 0)", 0, kErrorDivZero, 0},
      {"=STANDARDIZE(4, 1, 2)", 1.5, 0, 0},
      {"=FISHERINV(400)", 1.0, 0, 0},
      {"=NORMSDIST()", 0, kErrorSyntax, 0},
  };
  for (const Case& c : cases) {
    if (c.error == kErrorSyntax) {
      EXPECT_EQ(Evaluate(c.formula).kind, 0u) << c.formula;
      continue;
    }
    Check(c);
  }
}

// Each of these was a wrong result when the kernels took their shortcuts,
// capped their steps or formed factorials and ratios directly.
TEST_F(DistributionFunctions, MendedFaults) {
  const Case cases[] = {
      // No cut-off below 1e-6 in the gamma series.
      {"=NORMSDIST(0.001)", 0.50039894221391, 0, 1e-12},
      {"=CHIDIST(1e-12, 1)", 7.978845608027323e-07, 0, 1e-12},
      // Step limits grow with the parameters.
      {"=CHIDIST(10000, 10000)", 0.50188063403381744, 0, 1e-11},
      // The beta factor in logarithms: no 0/0.
      {"=FDIST(1, 5000, 5000)", 0.5, 0, 1e-12},
      // Binomial and Poisson terms beyond 170 and bounded loops.
      {"=BINOMDIST(200, 1000, 0.2, 0)", 0.031525361173257611, 0, 1e-12},
      {"=CRITBINOM(1000000, 0.5, 0.5)", 500000.0, 0, 0},
      {"=POISSON(1000000000, 5, 1)", 1.0, 0, 0},
      // Zero successes are e^-m and (1 - p)^n.
      {"=POISSON(0, 3, 0)", 0.049787068367863944, 0, 1e-15},
      {"=BINOMDIST(0, 10, 0.3, 0)", 0.0282475249, 0, 1e-12},
      {"=BINOMDIST(, 10, 0.5, 0)", 0.0009765625, 0, 1e-15},
      // Bisection to a relative tolerance, returning the midpoint.
      {"=FINV(0.99999, 1, 1)", 4052847345.0637321, 0, 1e-7},
      {"=FINV(0.01, 40, 40)", 0.47298488775958814, 0, 1e-7},
      {"=TINV(1e-300, 1)", -3.1830988618379067e299, 0, 1e-5},
      {"=FDIST(1e308, 3, 1000000000)", 1.0, 0, 0},
      // WEIBULL's parameters must be positive.
      {"=WEIBULL(1, -1, 1, 1)", 0, kErrorNum, 0},
      {"=WEIBULL(1, 1, 0, 0)", 0, kErrorNum, 0},
      {"=WEIBULL(\"x\", -1, 1, 1)", 0, kErrorNum, 0},
      {"=WEIBULL(1, -1, 1/0, 1)", 0, kErrorDivZero, 0},
      // A negative exponential rate is no distribution.
      {"=EXPONDIST(1, -1, 1)", 0, kErrorNum, 0},
  };
  for (const Case& c : cases) Check(c);
}

TEST_F(DistributionFunctions, RangeArgumentsApplyElementByElement) {
  PutNumberCell(0, 0, -1.0);
  PutNumberCell(0, 1, 0.0);
  PutNumberCell(0, 2, 2.0);
  const FormulaOutcome outcome = Evaluate("=NORMSDIST(A1:A3)");
  ASSERT_EQ(outcome.kind, uint32_t(kEvalArray));
  EXPECT_EQ(outcome.error, 0);
}

uint32_t PropertySeed() {
  const char* text = std::getenv("TALVERO_TEST_SEED");
  return text ? static_cast<uint32_t>(std::strtoul(text, nullptr, 10)) : 20261207u;
}

// The inverse of each cumulative function returns the argument it came from,
// within the inverse's own tolerance.
TEST(InverseCdfs, InvertTheirCumulatives) {
  const uint32_t seed = PropertySeed();
  SCOPED_TRACE(testing::Message() << "seed " << seed << " (TALVERO_TEST_SEED overrides)");
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 200; ++i) {
    const double n = std::floor(std::exp(unit(random) * std::log(1e5))) + 1.0;
    const double m = std::floor(std::exp(unit(random) * std::log(1e4))) + 1.0;
    const double z = (unit(random) - 0.5) * 16.0;
    const double x = std::exp((unit(random) - 0.5) * 6.0) * n;
    const double f = std::exp((unit(random) - 0.5) * 4.0);
    const double t = (unit(random) - 0.5) * 20.0;
    SCOPED_TRACE(testing::Message() << "n " << n << " m " << m << " z " << z << " x " << x << " f " << f << " t " << t);
    // Far in the upper tail the lower tail rounds to 1 and no longer tells
    // its argument; the inverses are checked where the probability does.
    const auto invertible = [](double probability) { return probability > 1e-300 && probability < 1.0 - 1e-6; };
    if (invertible(StdNormalCdf(z))) {
      EXPECT_TRUE(RelativelyNear(NormalInv(StdNormalCdf(z), 0.0, 1.0), z, 1e-7));
    }
    if (invertible(ChiSquareCdf(x, n))) {
      EXPECT_TRUE(RelativelyNear(ChiSquareInv(ChiSquareCdf(x, n), n), x, 1e-7));
    }
    if (invertible(FDistCdf(f, n, m))) {
      EXPECT_TRUE(RelativelyNear(FDistInv(FDistCdf(f, n, m), n, m), f, 1e-7));
    }
    if (invertible(StudentTCdf(t, n))) {
      EXPECT_TRUE(RelativelyNear(StudentTInv(StudentTCdf(t, n), n), t, 1e-5));
    }
    // A count near the mean, where neighbouring cumulatives differ.
    const double p = 0.05 + 0.9 * unit(random);
    const double k = std::floor(n * p + (unit(random) - 0.5) * std::sqrt(n * p * (1.0 - p)));
    if (k >= 0.0 && k < n) {
      EXPECT_EQ(CriticalBinomial(n, p, BinomialCdf(k, n, p)), k) << "p " << p << " k " << k;
    }
  }
}

}  // namespace
