#include <gtest/gtest.h>

#include <string>

#include "core/base/error_code.h"
#include "tests/numerics/statistics_formula.h"

namespace {

class EngineeringSpecialFunctions : public StatisticsFormulaTest {
 protected:
  double Number(const std::string& formula) {
    const FormulaOutcome outcome = Evaluate(formula);
    EXPECT_EQ(outcome.kind, uint32_t(kEvalNumber)) << formula;
    EXPECT_EQ(outcome.error, 0) << formula << " " << ErrorName(outcome.error);
    return outcome.number;
  }
  uint8_t Error(const std::string& formula) { return Evaluate(formula).error; }
};

TEST_F(EngineeringSpecialFunctions, ErrorFunctionsAndTheirSymmetry) {
  EXPECT_TRUE(RelativelyNear(Number("=ERF(1,)"), 0.8427007929497149, 1e-14));
  EXPECT_EQ(Number("=ERF(-1,)"), -Number("=ERF(1,)"));
  EXPECT_TRUE(RelativelyNear(Number("=ERFC(-1)"), 1.8427007929497148, 1e-14));
  EXPECT_EQ(Number("=ERF(0,1)"), Number("=ERF(1,)"));
  EXPECT_TRUE(RelativelyNear(Number("=ERF(5,6)"), 1.5374382746913227e-12, 1e-13));
  EXPECT_TRUE(RelativelyNear(Number("=ERF(-1,2)"), 1.8380230579686676, 1e-14));
  EXPECT_EQ(Number("=ERFC(30)"), 0.0);
  EXPECT_EQ(Error("=ERFC(27)"), kErrorValue);  // below the smallest normal double
  EXPECT_EQ(Error("=ERF(1)"), kErrorSyntax);
  EXPECT_EQ(Error("=ERF(\"x\",)"), kErrorNum);
}

// Near 0 erf is about 2x / sqrt(pi): small arguments keep their digits
// instead of vanishing into 0 and 1.
TEST_F(EngineeringSpecialFunctions, SmallArgumentsKeepTheirDigits) {
  EXPECT_TRUE(RelativelyNear(Number("=ERF(0.0005,)"), 5.641895365319612e-4, 1e-14));
  EXPECT_TRUE(RelativelyNear(Number("=ERFC(0.0005)"), 0.9994358104634681, 1e-15));
  EXPECT_TRUE(RelativelyNear(Number("=ERF(1e-200,)"), 1.1283791670955126e-200, 1e-15));
  EXPECT_EQ(Number("=ERF(0,)"), 0.0);
  EXPECT_EQ(Number("=ERFC(0)"), 1.0);
}

TEST_F(EngineeringSpecialFunctions, BesselEdges) {
  EXPECT_EQ(Number("=BESSELJ(0,0)"), 1.0);
  EXPECT_EQ(Number("=BESSELJ(0,3)"), 0.0);
  EXPECT_TRUE(RelativelyNear(Number("=BESSELJ(-2,3)"), -0.12894324947440206, 1e-13));
  EXPECT_EQ(Error("=BESSELY(0,1)"), kErrorNum);
  EXPECT_EQ(Error("=BESSELY(-1,1)"), kErrorNum);
  EXPECT_EQ(Error("=BESSELJ(1,-1)"), kErrorNum);
  EXPECT_EQ(Error("=BESSELJ(1)"), kErrorSyntax);
  // Orders in the billions answer at once: J vanishes, Y overflows.
  EXPECT_EQ(Number("=BESSELJ(1,2147483647)"), 0.0);
  EXPECT_EQ(Error("=BESSELY(1,2147483647)"), kErrorNum);
  EXPECT_EQ(Error("=BESSELJ(3e9,2147483647)"), kErrorNum);
}

}  // namespace
