// The dense kernels behind MMULT, MINVERSE and MTXSVD on random matrices
// with elements in (-1, 1) from the program's generator: the product of two
// n x n matrices, the inverse by elimination against the identity, and the
// full decomposition U, S, V. bench/matrix_vs_numpy.py runs this and the
// same operations in numpy (one thread) and prints the time ratios.

#include <benchmark/benchmark.h>

#include "functions/random_stream.h"
#include "numerics/linear_algebra.h"
#include "numerics/svd.h"

namespace {

void Fill(Matrix& m, uint32_t n, int32_t seed) {
  m.Resize(n, n);
  RandomSeedPair pair = {seed, 654321};
  for (uint32_t i = 0; i < n * n; ++i) m.Doubles()[i] = 2.0 * NextUniform(&pair) - 1.0;
}

void BM_MatrixMultiply(benchmark::State& state) {
  const uint32_t n = uint32_t(state.range(0));
  Matrix a, b, c;
  Fill(a, n, 1);
  Fill(b, n, 2);
  c.Resize(n, n);
  for (auto _ : state) {
    MatrixMultiply(a, b, c, int32_t(n), int32_t(n), int32_t(n));
    benchmark::DoNotOptimize(c.Doubles()[0]);
  }
}
BENCHMARK(BM_MatrixMultiply)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_MatrixInverse(benchmark::State& state) {
  const uint32_t n = uint32_t(state.range(0));
  Matrix a, work, inverse;
  Fill(a, n, 3);
  work.Resize(n, n);
  inverse.Resize(n, n);
  for (auto _ : state) {
    for (uint32_t i = 0; i < n * n; ++i) work.Doubles()[i] = a.Doubles()[i];
    MatrixIdentity(inverse, int32_t(n));
    benchmark::DoNotOptimize(GaussEliminate(work, inverse, nullptr, nullptr, int32_t(n), int32_t(n)));
  }
}
BENCHMARK(BM_MatrixInverse)->Arg(200)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_SingularValueDecomposition(benchmark::State& state) {
  const uint32_t n = uint32_t(state.range(0));
  Matrix a, work, p, u, s, v;
  Fill(a, n, 4);
  work.Resize(n, n);
  p.Resize(n, n);
  u.Resize(n, n);
  s.Resize(n, n);
  v.Resize(n, n);
  for (auto _ : state) {
    for (uint32_t i = 0; i < n * n; ++i) work.Doubles()[i] = a.Doubles()[i];
    int32_t rank = 0;
    bool converged = true;
    benchmark::DoNotOptimize(SvdDriver(work, p, u, s, v, int32_t(n), int32_t(n), &rank, &converged, 0.0));
  }
}
BENCHMARK(BM_SingularValueDecomposition)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
