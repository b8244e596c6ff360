#include <gtest/gtest.h>

#include <cmath>

#include "core/base/error_code.h"
#include "functions/rate_search.h"

namespace {

constexpr uint32_t kMostEvaluations = 2 * kMaxBracketSteps + kMaxRefineSteps;

double Constant(const void* context, double, uint8_t*) { return *static_cast<const double*>(context); }
double Step(const void* context, double rate, uint8_t*) { return rate < *static_cast<const double*>(context) ? -1 : 1; }
double NotANumber(const void*, double rate, uint8_t*) { return rate > 0.5 ? NAN : -1; }
double Failing(const void*, double, uint8_t* error) {
  *error = kErrorNA;
  return 0;
}
// (1 + r)^2 = 1.21: a smooth root at 0.1.
double Square(const void*, double rate, uint8_t*) { return (1 + rate) * (1 + rate) - 1.21; }

TEST(RateSearch, GivesUpOnAValuationThatNeverChangesSign) {
  const double value = 5;
  for (double guess : {0.0, 0.1, 49.0, 1e300}) {
    const RateSearchResult near = SearchRateNearGuess(Constant, &value, guess);
    EXPECT_EQ(near.error, kErrorNum) << guess;
    EXPECT_LE(near.evaluations, kMostEvaluations) << guess;
    const RateSearchResult annuity = SearchAnnuityRate(Constant, &value, guess);
    EXPECT_EQ(annuity.error, kErrorNum) << guess;
    EXPECT_LE(annuity.evaluations, kMostEvaluations) << guess;
  }
}

TEST(RateSearch, EndsAtAJumpWithinTheSpacingOfDoubles) {
  const double jump = 0.3;
  for (auto search : {SearchRateNearGuess, SearchAnnuityRate}) {
    const RateSearchResult found = search(Step, &jump, 0.0);
    EXPECT_EQ(found.error, 0);
    EXPECT_NEAR(found.rate, jump, 1e-14);
    EXPECT_LE(found.evaluations, kMostEvaluations);
  }
}

TEST(RateSearch, FindsASmoothRootToTheRelativeTolerance) {
  for (auto search : {SearchRateNearGuess, SearchAnnuityRate}) {
    const RateSearchResult found = search(Square, nullptr, 0.05);
    EXPECT_EQ(found.error, 0);
    EXPECT_NEAR(found.rate, 0.1, 1e-15);
    EXPECT_LE(found.evaluations, 200u);
  }
}

TEST(RateSearch, PassesOnTheValuationsFailures) {
  EXPECT_EQ(SearchRateNearGuess(Failing, nullptr, 0.1).error, kErrorNA);
  EXPECT_EQ(SearchAnnuityRate(Failing, nullptr, 0.1).error, kErrorNA);
  EXPECT_EQ(SearchRateNearGuess(NotANumber, nullptr, 0.1).error, kErrorNum);
  EXPECT_EQ(SearchAnnuityRate(NotANumber, nullptr, 0.1).error, kErrorNum);
}

}  // namespace
