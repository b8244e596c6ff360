#ifndef TALVERO_FUNCTIONS_RATE_SEARCH_H
#define TALVERO_FUNCTIONS_RATE_SEARCH_H

// The search for a rate at which a valuation of cash flows is zero (IRR,
// XIRR, RATE): the bracket around the guess widens until the valuation
// changes sign, then the modified regula falsi (Illinois) narrows it. Only
// rates from kSmallestRate up are tried. Every loop is bounded by a count,
// so that no valuation, however flat, keeps a recalculation waiting.

#include <cstdint>

// The valuation at a rate; a failure leaves an error byte in *error.
using RateValuation = double (*)(const void* context, double rate, uint8_t* error);

constexpr double kSmallestRate = 1e-14;
// The bracket is given up once |lo| + |hi| exceeds this.
constexpr double kWidestRateBracket = 100.0;
constexpr uint32_t kMaxBracketSteps = 10000;
constexpr uint32_t kMaxRefineSteps = 500;
// The refinement ends when the bracket is this narrow relative to the rate.
constexpr double kRateTolerance = 1e-14;

struct RateSearchResult {
  double rate;
  uint8_t error;         // the valuation's error, or "#NUM!" when no rate was found
  uint32_t evaluations;  // how often the valuation ran
};

// IRR and XIRR: the bracket starts 0.0001 either side of the guess and
// widens by a step that doubles up to 0.02.
RateSearchResult SearchRateNearGuess(RateValuation valuation, const void* context, double guess);
// SearchRateNearGuess, the same result to the last bit, for a valuation
// the caller knows more of: at every rate from kSmallestRate to
// kWidestRateBracket it never fails and lies within margin of a true value
// that has one root, has sign signBelowRoot (1 or -1) below it, and whose
// magnitude below the root does not grow as the rate rises. A bracket
// point whose value is farther than twice the margin from 0 then settles
// the sign of every point before it, so the bracket's points are searched
// by doubling and halving instead of one by one; wherever that cannot be
// settled, and for a guess above kFirstRateStep, the points go one by one.
constexpr double kFirstRateStep = 0.0001;
RateSearchResult SearchRateOfOneRoot(RateValuation valuation, const void* context, double guess, double margin,
                                     int signBelowRoot);
// RATE: the bracket starts at the guess (kSmallestRate for 0) and widens
// by 0.02 either side.
RateSearchResult SearchAnnuityRate(RateValuation valuation, const void* context, double guess);

#endif
