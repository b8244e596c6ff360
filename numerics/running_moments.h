#ifndef TALVERO_NUMERICS_RUNNING_MOMENTS_H
#define TALVERO_NUMERICS_RUNNING_MOMENTS_H

// Count, mean and sum of squared deviations updated one value at a time
// (Welford's method): no cancellation between a sum of squares and a
// squared sum, so values far from 0 with a small spread keep their
// variance, and equal values give exactly 0.

#include <cmath>

struct RunningMoments {
  double n = 0.0;
  double mean = 0.0;
  double squares = 0.0;  // sum of (x - mean)^2

  void Add(double x) {
    n += 1.0;
    const double delta = x - mean;
    mean += delta / n;
    squares += delta * (x - mean);
  }
  // Never negative; n - 1 must be above 0 for the sample form.
  double SampleVariance() const { return std::fmax(squares, 0.0) / (n - 1.0); }
  double PopulationVariance() const { return std::fmax(squares, 0.0) / n; }
};

// The same for pairs: co-moments of x and y.
struct RunningCoMoments {
  double n = 0.0;
  double meanX = 0.0;
  double meanY = 0.0;
  double xx = 0.0;
  double yy = 0.0;
  double xy = 0.0;

  void Add(double x, double y) {
    n += 1.0;
    const double dx = x - meanX;
    const double dy = y - meanY;
    meanX += dx / n;
    meanY += dy / n;
    xx += dx * (x - meanX);
    yy += dy * (y - meanY);
    xy += dx * (y - meanY);
  }
};

#endif
