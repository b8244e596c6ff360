#ifndef TALVERO_NUMERICS_RUNNING_MOMENTS_H
#define TALVERO_NUMERICS_RUNNING_MOMENTS_H

// Count, mean and sum of squared deviations in one pass, from the sums of
// the values less the first one. A sum of squares of the values themselves
// cancels away the spread of values far from 0 (and a running mean rounds
// it at their magnitude); the shifted sums keep it: values that differ by
// small whole numbers give exact sums, equal values give exactly 0, and
// since the shift is one of the values the cancellation left is bounded by
// the count.

#include <cmath>

struct RunningMoments {
  double n = 0.0;
  double shift = 0.0;
  double sum = 0.0;      // of x - shift
  double squares = 0.0;  // of (x - shift)^2

  void Add(double x) {
    if (n == 0.0) shift = x;
    n += 1.0;
    const double d = x - shift;
    sum += d;
    squares += d * d;
  }
  // x - mean, without rounding the mean at the values' magnitude first.
  double Deviation(double x) const { return (x - shift) - sum / n; }
  // The sum of (x - mean)^2; never negative.
  double SquaredDeviations() const { return std::fmax(squares - sum * sum / n, 0.0); }
  // n - 1 must be above 0 for the sample form.
  double SampleVariance() const { return SquaredDeviations() / (n - 1.0); }
  double PopulationVariance() const { return SquaredDeviations() / n; }
};

// The mean of a less the mean of b, with the same care.
inline double MeanDifference(const RunningMoments& a, const RunningMoments& b) {
  return a.sum / a.n + b.Deviation(a.shift);
}

// The same for pairs: co-moments of x and y, each shifted by its first value.
struct RunningCoMoments {
  double n = 0.0;
  double shiftX = 0.0;
  double shiftY = 0.0;
  double sumX = 0.0;
  double sumY = 0.0;
  double sumXX = 0.0;
  double sumYY = 0.0;
  double sumXY = 0.0;

  void Add(double x, double y) {
    if (n == 0.0) {
      shiftX = x;
      shiftY = y;
    }
    n += 1.0;
    const double dx = x - shiftX;
    const double dy = y - shiftY;
    sumX += dx;
    sumY += dy;
    sumXX += dx * dx;
    sumYY += dy * dy;
    sumXY += dx * dy;
  }
  // The sums of (x - mean x)^2, (y - mean y)^2 and their products.
  double XX() const { return std::fmax(sumXX - sumX * sumX / n, 0.0); }
  double YY() const { return std::fmax(sumYY - sumY * sumY / n, 0.0); }
  double XY() const { return sumXY - sumX * sumY / n; }
};

#endif
