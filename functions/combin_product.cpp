#include "functions/combin_product.h"

double CombinProduct(int32_t n, int32_t k) {
  if (k < 0 || n < 0 || k > n) return 0.0;
  double numerator = 1.0;
  for (double i = double(n) - k + 1; i <= n; i += 1.0) numerator *= i;
  double denominator = 1.0;
  for (double i = 2.0; i <= k; i += 1.0) denominator *= i;
  return numerator / denominator;
}
