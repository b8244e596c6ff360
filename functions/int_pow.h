#ifndef TALVERO_FUNCTIONS_INT_POW_H
#define TALVERO_FUNCTIONS_INT_POW_H

// x to an integer power by repeated squaring: the same bits on every target,
// unlike the runtime's pow. n = 0 gives 1; a negative n gives 1 over the
// power of its magnitude.

#include <cstdint>

double IntPow(double x, int32_t n);

// IntPow(x, k) for k = 1, 2, ... asked in turn, each to the last bit with
// one product: IntPow multiplies the squares of k's bits from the lowest up,
// so the power of k is that of k less its highest bit times the square of
// that bit, the power of that bit's own power of two.
class RisingPowers {
 public:
  static constexpr int32_t kMost = 64;
  explicit RisingPowers(double x) : highest_(1), filled_(1) { powers_[1] = x; }
  // k from 1 to kMost.
  double Of(int32_t k) {
    for (; filled_ < k; ++filled_) {
      const int32_t next = filled_ + 1;
      if ((next & (next - 1)) == 0) {
        powers_[next] = powers_[highest_] * powers_[highest_];
        highest_ = next;
      } else {
        powers_[next] = powers_[next - highest_] * powers_[highest_];
      }
    }
    return powers_[k];
  }

 private:
  double powers_[kMost + 1];
  int32_t highest_;
  int32_t filled_;
};

#endif
