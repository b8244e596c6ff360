#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include <random>
#include <vector>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/cash_flows.h"
#include "functions/int_pow.h"
#include "functions/rate_search.h"
#include "test_seed.h"

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

// The valuation IRR searches: each flow discounted by one more period.
double Discounted(const void* context, double rate, uint8_t* error) {
  const CashFlows& flows = *static_cast<const CashFlows*>(context);
  double sum = 0;
  for (uint32_t i = 0; i < flows.count; ++i) {
    sum += flows.amounts[i] / IntPow(1.0 + rate, static_cast<int32_t>(i + 1));
    if (IsBadNumber(sum)) {
      *error = kErrorNum;
      return 0;
    }
  }
  return sum;
}

// IRR skips the search for flows whose value keeps its sign above rate 0:
// the search must then fail as well, close to the balance of both sides too.
TEST(RateSearch, FlowsThatKeepTheirSignAboveZeroHaveNoRateThere) {
  const uint32_t seed = TestSeed(2163);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> amount(0.0, 100.0);
  uint32_t skipped = 0;
  for (int trial = 0; trial < 300; ++trial) {
    CashFlows flows;
    const uint32_t earlier = 1 + random() % 3;
    const uint32_t later = 1 + random() % 6;
    const double sign = random() % 2 ? 1.0 : -1.0;
    double earlierSum = 0;
    for (uint32_t i = 0; i < earlier; ++i) {
      const double a = amount(random);
      earlierSum += a;
      ASSERT_TRUE(flows.Append(sign * a));
    }
    // The later flows come to a share of the earlier ones, some of them
    // within a hair of all of it.
    const double shares[] = {0.3, 0.9, 0.999999, 0.99999999, 1.0, 1.2};
    const double share = shares[random() % 6];
    for (uint32_t i = 0; i < later; ++i) ASSERT_TRUE(flows.Append(-sign * earlierSum * share / later));
    if (!flows.KeepSignAboveZeroRate()) continue;
    ++skipped;
    for (double guess : {0.0, 0.1, 3.0}) {
      const RateSearchResult found = SearchRateNearGuess(Discounted, &flows, guess);
      EXPECT_EQ(found.error, kErrorNum) << "trial " << trial << ", guess " << guess;
      EXPECT_EQ(found.rate, 0.0);
    }
  }
  EXPECT_GT(skipped, 50u);

  const struct {
    std::vector<double> amounts;
    bool keeps;
  } cases[] = {
      {{-100, 30, 30, 30}, true},
      {{-100, 40, 40, 40}, false},   // a rate of about 9.7 %
      {{100, -50, -49}, true},
      {{-100, 30, -10, 30}, false},  // three changes of sign
      {{-100, 0, 50, 0, 40}, true},  // zeros change nothing
      {{-100, NAN, 10}, false},
  };
  for (const auto& c : cases) {
    CashFlows flows;
    for (double a : c.amounts) ASSERT_TRUE(flows.Append(a));
    EXPECT_EQ(flows.KeepSignAboveZeroRate(), c.keeps) << c.amounts[1];
  }
}

}  // namespace

namespace {

// Flows changing sign once, as IRR sees them: an outlay over one or more
// periods, then returns whose rate lies anywhere from below 0 (returns
// short of the outlay) through 0 (nearly balanced) to far beyond the
// bracket points kept, some flows 0.
void OneChangeFlows(std::mt19937& random, CashFlows* flows) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double sign = random() % 2 ? 1.0 : -1.0;
  const uint32_t outlays = 1 + random() % 3;
  const uint32_t returns = 1 + random() % 12;
  const double scales[] = {1e-140, 1e-3, 1, 100, 1e6, 1e140};
  const double scale = scales[random() % 6];
  double outlay = 0;
  for (uint32_t i = 0; i < outlays; ++i) {
    const double a = scale * (0.5 + unit(random));
    outlay += a;
    flows->Append(-sign * a);
  }
  const double shares[] = {0.5, 0.999999999, 1.0, 1.0000001, 1.05, 1.4, 3, 40, 1e4};
  const double share = shares[random() % 9];
  for (uint32_t i = 0; i < returns; ++i)
    flows->Append(random() % 5 == 0 ? 0.0 : sign * outlay * share * (0.2 + unit(random)) / returns);
}

}  // namespace

// The one-root search gives what the general one gives, bit for bit, for
// any guess: rates near 0, in the bracket points kept and past them, none.
TEST(RateSearch, OneRootSearchEndsWhereTheGeneralOneEnds) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  uint32_t fewer = 0;
  for (int trial = 0; trial < 400; ++trial) {
    CashFlows flows;
    OneChangeFlows(random, &flows);
    double magnitudes = 0;
    for (uint32_t i = 0; i < flows.count; ++i) magnitudes += std::fabs(flows.amounts[i]);
    const int signBelowRoot = flows.amounts[flows.count - 1] < 0 ? -1 : 1;
    for (double guess : {0.0, 1e-5, kFirstRateStep, 0.3}) {
      const RateSearchResult general = SearchRateNearGuess(Discounted, &flows, guess);
      const RateSearchResult found = SearchRateOfOneRoot(Discounted, &flows, guess, 1e-12 * magnitudes, signBelowRoot);
      EXPECT_EQ(found.error, general.error) << "trial " << trial << ", guess " << guess;
      EXPECT_EQ(std::memcmp(&found.rate, &general.rate, sizeof(double)), 0)
          << "trial " << trial << ", guess " << guess << ": " << found.rate << " vs " << general.rate;
      if (found.evaluations < general.evaluations) ++fewer;
    }
  }
  // Many searches settle their bracket with fewer valuations (a guess above
  // the first step and rates past the points kept never do).
  EXPECT_GT(fewer, 200u);
}

namespace {

// A valuation falling through its root whose rounding, within the margin,
// flips its sign back and forth near the root.
struct NoisyLine {
  double root;
  double margin;
};
double Noisy(const void* context, double rate, uint8_t*) {
  const NoisyLine& line = *static_cast<const NoisyLine*>(context);
  uint64_t bits = 0;
  std::memcpy(&bits, &rate, sizeof bits);
  bits *= 0x9E3779B97F4A7C15ull;
  return (line.root - rate) + (bits >> 63 ? 0.9 : -0.9) * line.margin;
}

}  // namespace

// Points whose sign the margin cannot settle are looked at one by one: the
// first of the other sign is the one the general search stops at.
TEST(RateSearch, OneRootSearchLooksAtUnsettledPointsOneByOne) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 300; ++trial) {
    const NoisyLine line = {0.001 + 4 * unit(random), 0.001 + 0.1 * unit(random)};
    const RateSearchResult general = SearchRateNearGuess(Noisy, &line, 0.0);
    const RateSearchResult found = SearchRateOfOneRoot(Noisy, &line, 0.0, line.margin, 1);
    EXPECT_EQ(found.error, general.error) << "trial " << trial;
    EXPECT_EQ(std::memcmp(&found.rate, &general.rate, sizeof(double)), 0) << "trial " << trial;
  }
}

// One pass over the flows answers as the three questions asked apart do:
// zeros, NaN, infinities, magnitudes at and past the one-root bounds, one
// or more changes of sign, and lists longer than the one-root table.
TEST(RateSearch, FlowSurveyAnswersAsTheSeparateQuestions) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double odd[] = {0.0, -0.0, NAN, INFINITY, -INFINITY, 1e-150, 1e150, 9e-151, 2e150, 1e300, -1e-300};
  for (int trial = 0; trial < 3000; ++trial) {
    CashFlows flows;
    const uint32_t count = 1 + random() % (trial % 10 == 0 ? 80 : 9);
    const uint32_t limit = trial % 7 == 0 ? 4 : 64;
    for (uint32_t i = 0; i < count; ++i) {
      double a = double(int32_t(random() % 2001) - 1000) / double(1 + random() % 8);
      if (i == 0 && random() % 2) a = -std::fabs(a) - 100;
      if (random() % 12 == 0) a = odd[random() % (sizeof odd / sizeof odd[0])];
      ASSERT_TRUE(flows.Append(a));
    }
    double margin = -1;
    int sign = 7;
    const bool oneRoot = OneRootValuation(flows, limit, &margin, &sign);
    const FlowSurvey survey = SurveyFlows(flows, limit);
    EXPECT_EQ(survey.changesSign, flows.ChangesSign()) << trial;
    EXPECT_EQ(survey.keepsSignAboveZeroRate, flows.KeepSignAboveZeroRate()) << trial;
    ASSERT_EQ(survey.oneRoot, oneRoot) << trial;
    if (oneRoot) {
      EXPECT_EQ(std::memcmp(&survey.margin, &margin, sizeof margin), 0) << trial;
      EXPECT_EQ(survey.signBelowRoot, sign) << trial;
    }
  }
}

// Powers asked in turn are IntPow's to the last bit, for bases whose powers
// overflow, vanish, change sign or are not numbers.
TEST(RisingPowers, AreIntPowToTheBit) {
  const uint32_t seed = TestSeed(20261208);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  const double odd[] = {0.0, -0.0, NAN, INFINITY, -INFINITY, 1e-300, -1e300, 1.0000001, -0.9999999};
  for (int trial = 0; trial < 2000; ++trial) {
    double x = double(int32_t(random() % 20001) - 10000) / double(1 + random() % 997);
    if (random() % 10 == 0) x = odd[random() % (sizeof odd / sizeof odd[0])];
    RisingPowers powers(x);
    for (int32_t k = 1 + int32_t(random() % 3); k <= RisingPowers::kMost; k += 1 + int32_t(random() % 3)) {
      const double expected = IntPow(x, k);
      const double got = powers.Of(k);
      ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << x << "^" << k;
    }
  }
}
