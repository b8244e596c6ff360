#include "numerics/random_numbers.h"

#include <cmath>
#include <limits>

#include "functions/random_stream.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Two pi as the generator has always rounded it.
constexpr double kTwoPi = 6.2831853;
// exp(-mean) must stay a normal double for the product of uniforms to be
// compared with it; beyond this mean it underflows and the loop would never
// end.
constexpr double kLargestPoissonMean = 708.0;

void ApplySeeds(RandomSeedPair& pair, bool hasSeed1, int32_t seed1, bool hasSeed2, int32_t seed2) {
  if (hasSeed1) pair.s1 = seed1;
  if (hasSeed2) pair.s2 = seed2;
}

double PoissonDeviate(RandomSeedPair& pair, double mean) {
  if (!(mean <= kLargestPoissonMean)) return kInfinity;
  const double limit = std::exp(-mean);
  double product = 1.0;
  int32_t k = 0;
  // Far more steps than any mean up to the limit needs: the loop is bounded
  // whatever rounding does.
  constexpr int32_t kMaxSteps = 100000;
  do {
    product *= NextUniform(&pair);
    ++k;
  } while (!(product < limit) && k < kMaxSteps);
  return k < kMaxSteps ? k - 1.0 : kInfinity;
}

double GeometricDeviate(double u, double p) {
  if (p == 1.0) return 1.0;
  if (!(p > 0.0 && p < 1.0)) return kInfinity;
  return std::floor(std::log(u) / std::log(1.0 - p) + 1.0);
}

}  // namespace

void RandomUniform(Matrix& out, int32_t n, bool hasSeed1, int32_t seed1, bool hasSeed2, int32_t seed2) {
  RandomSeedPair& shared = ProcessRandomSeeds().shared;
  ApplySeeds(shared, hasSeed1, seed1, hasSeed2, seed2);
  RandomSeedPair pair = shared;
  double* element = out.Doubles();
  for (int32_t i = 0; i < n; ++i) element[i] = NextUniform(&pair);
  shared = pair;
}

void RandomDeviates(Matrix& out, int32_t n, bool hasSeed1, int32_t seed1, bool hasSeed2, int32_t seed2,
                    int32_t type, double v1, double v2) {
  RandomSeedPair& second = ProcessRandomSeeds().second;
  ApplySeeds(second, hasSeed1, seed1, hasSeed2, seed2);
  if (n < 1) return;
  RandomSeedPair pair = second;
  for (int32_t i = 1; i <= n; ++i) {
    const double u = NextUniform(&pair);
    double x = u;
    switch (type) {
      case kDeviateNormal: {
        const double u2 = NextUniform(&pair);
        x = v1 + std::sqrt(-2.0 * v2 * v2 * std::log(u)) * std::cos(kTwoPi * u2);
        break;
      }
      case kDeviateExponential:
        x = -std::log(u) * v1;
        break;
      case kDeviatePoisson:
        x = PoissonDeviate(pair, v1);
        break;
      case kDeviateBernoulli:
        x = u <= v1 ? 1.0 : 0.0;
        break;
      case kDeviateGeometric:
        x = GeometricDeviate(u, v1);
        break;
      default:
        break;
    }
    out(uint32_t(i), 1) = x;
  }
  second = pair;
}
