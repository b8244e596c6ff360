#include "functions/factorial.h"

#include "core/base/result_check.h"

namespace {

double ProductDownBy(int64_t k, int64_t step) {
  double product = 1;
  for (int64_t i = k; i >= 2 && !IsBadNumber(product); i -= step) product *= double(i);
  return product;
}

}  // namespace

double Factorial(int64_t k) { return ProductDownBy(k, 1); }
double DoubleFactorial(int64_t k) { return ProductDownBy(k, 2); }
