// The kernels behind LPROG and LPROGINT: a dense random linear program of
// 100 constraints over 100 variables, and a 0/1 knapsack of 30 items written
// as an integer program (one weight row and a bound row x <= 1 per item).
// Run with TALVERO_BENCH_LP_DIR set, it also writes both problems there as
// CPLEX LP files; bench/programs_vs_glpsol.py runs this, times glpsol on
// those files and prints the time ratios.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "functions/random_stream.h"
#include "numerics/linear_program.h"

namespace {

// max c.x subject to A x (s) b, x >= 0; integer marks the restricted variables.
struct Program {
  uint32_t m = 0;
  uint32_t n = 0;
  Matrix a, s, b, c, integer;
};

double Uniform(RandomSeedPair& pair, double low, double high) { return low + (high - low) * NextUniform(&pair); }

// Positive coefficients and right-hand sides: feasible at 0 and bounded.
void MakeDenseProgram(Program& p, uint32_t size) {
  RandomSeedPair pair = {2718, 654321};
  p.m = p.n = size;
  p.a.Resize(size, size);
  p.s.Resize(size, 1);
  p.b.Resize(size, 1);
  p.c.Resize(size, 1);
  p.integer.Resize(size, 1);
  p.integer.Zero();
  for (uint32_t i = 1; i <= size; ++i) {
    for (uint32_t j = 1; j <= size; ++j) p.a(i, j) = Uniform(pair, 0.01, 1.0);
    p.s(i, 1) = 1;
    p.b(i, 1) = Uniform(pair, 10.0, 100.0);
  }
  for (uint32_t j = 1; j <= size; ++j) p.c(j, 1) = Uniform(pair, 1.0, 10.0);
}

// Whole weights and values, capacity half the total weight.
void MakeKnapsack(Program& p, uint32_t items) {
  RandomSeedPair pair = {31415, 654321};
  p.m = items + 1;
  p.n = items;
  p.a.Resize(p.m, p.n);
  p.a.Zero();
  p.s.Resize(p.m, 1);
  p.b.Resize(p.m, 1);
  p.c.Resize(p.n, 1);
  p.integer.Resize(p.n, 1);
  double total = 0.0;
  for (uint32_t j = 1; j <= items; ++j) {
    p.a(1, j) = double(10 + int(NextUniform(&pair) * 90));
    total += p.a(1, j);
    p.c(j, 1) = double(10 + int(NextUniform(&pair) * 90));
    p.integer(j, 1) = 1;
    p.a(j + 1, j) = 1;
    p.s(j + 1, 1) = 1;
    p.b(j + 1, 1) = 1;
  }
  p.s(1, 1) = 1;
  p.b(1, 1) = double(int(total / 2));
}

void CopyMatrix(const Matrix& from, Matrix& to) {
  to.Resize(from.rows, from.cols);
  for (uint32_t i = 0; i < from.rows * from.cols; ++i) to.Doubles()[i] = from.Doubles()[i];
}

// The program in CPLEX LP form, variables x1 .. xn.
void WriteCplexLp(const Program& p, const char* name) {
  const char* dir = std::getenv("TALVERO_BENCH_LP_DIR");
  if (!dir) return;
  const std::string path = std::string(dir) + "/" + name + ".lp";
  FILE* file = std::fopen(path.c_str(), "w");
  if (!file) return;
  std::fprintf(file, "Maximize\n obj:");
  for (uint32_t j = 1; j <= p.n; ++j) std::fprintf(file, "%s %+.17g x%u", j % 8 == 0 ? "\n" : "", p.c(j, 1), j);
  std::fprintf(file, "\nSubject To\n");
  for (uint32_t i = 1; i <= p.m; ++i) {
    std::fprintf(file, " r%u:", i);
    for (uint32_t j = 1; j <= p.n; ++j)
      if (p.a(i, j) != 0.0) std::fprintf(file, "%s %+.17g x%u", j % 8 == 0 ? "\n" : "", p.a(i, j), j);
    const double type = p.s(i, 1);
    std::fprintf(file, " %s %.17g\n", type > 0 ? "<=" : type < 0 ? ">=" : "=", p.b(i, 1));
  }
  bool general = false;
  for (uint32_t j = 1; j <= p.n; ++j) {
    if (p.integer(j, 1) != 1.0) continue;
    if (!general) std::fprintf(file, "General\n");
    general = true;
    std::fprintf(file, " x%u\n", j);
  }
  std::fprintf(file, "End\n");
  std::fclose(file);
}

void Solve(benchmark::State& state, const Program& p, bool integer) {
  Matrix a, s, b, x;
  double objective = 0.0;
  for (auto _ : state) {
    CopyMatrix(p.a, a);
    CopyMatrix(p.s, s);
    CopyMatrix(p.b, b);
    x.Resize(p.n, 1);
    x.Zero();
    int32_t vector = 1;
    const ProgramStatus status =
        integer ? BranchBoundProgram(a, s, b, p.c, p.integer, x, &vector, p.m, p.n, 1e-8, 0.0, false)
                : SimplexLinearProgram(a, s, b, p.c, x, &vector, p.m, p.n, 1e-8, 0.0);
    if (status != kProgramSolved) {
      state.SkipWithError("the program was not solved");
      return;
    }
    objective = 0.0;
    for (uint32_t j = 1; j <= p.n; ++j) objective += p.c(j, 1) * x(j, 1);
  }
  state.counters["objective"] = objective;
}

void BM_LProgDense100(benchmark::State& state) {
  Program p;
  MakeDenseProgram(p, 100);
  WriteCplexLp(p, "lprog_dense100");
  Solve(state, p, false);
}
BENCHMARK(BM_LProgDense100)->Unit(benchmark::kMillisecond);

void BM_LProgIntKnapsack30(benchmark::State& state) {
  Program p;
  MakeKnapsack(p, 30);
  WriteCplexLp(p, "lprogint_knapsack30");
  Solve(state, p, true);
}
BENCHMARK(BM_LProgIntKnapsack30)->Unit(benchmark::kMillisecond);

}  // namespace
