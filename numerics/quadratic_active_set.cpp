#include <cmath>
#include <new>
#include <vector>

#include "numerics/linear_algebra.h"
#include "numerics/linear_program.h"

namespace {

// One row of the problem as g.x <= h; equalities stay in the working set.
struct ActiveSetRow {
  std::vector<double> g;
  double h;
  bool equality;
};

double Dot(const std::vector<double>& u, const std::vector<double>& v) {
  double sum = 0.0;
  for (size_t i = 0; i < u.size(); ++i) sum += u[i] * v[i];
  return sum;
}

// Any point that meets the constraints, from the linear program with a zero
// objective; false when there is none.
ProgramStatus FeasiblePoint(const Matrix& a, const Matrix& s, const Matrix& b, uint32_t m, uint32_t n, double epsilon,
                            std::vector<double>& x) {
  Matrix aa, ss, bb, zero, start;
  if (!aa.Resize(m, n) || !ss.Resize(m, 1) || !bb.Resize(m, 1) || !zero.Resize(n, 1) || !start.Resize(n, 1))
    return kProgramNoMemory;
  for (uint32_t i = 1; i <= m; ++i) {
    for (uint32_t j = 1; j <= n; ++j) aa(i, j) = a(i, j);
    ss(i, 1) = s(i, 1);
    bb(i, 1) = b(i, 1);
  }
  zero.Zero();
  start.Zero();
  int32_t vector = 1;
  // With no objective the penalty of the artificial variables is all that
  // is maximised: the first phase of the simplex method.
  const ProgramStatus status = SimplexLinearProgram(aa, ss, bb, zero, start, &vector, m, n, epsilon, 1.0);
  if (status != kProgramSolved) return status;
  for (uint32_t j = 1; j <= n; ++j) x[j - 1] = start(j, 1) > 0.0 ? start(j, 1) : 0.0;
  return kProgramSolved;
}

}  // namespace

ProgramStatus ActiveSetQuadraticProgram(const Matrix& a, const Matrix& s, const Matrix& b, const Matrix& p,
                                        const Matrix& c, Matrix& x, int32_t* vector, uint32_t m, uint32_t n,
                                        double epsilon) {
  try {
    std::vector<double> point(n, 0.0);
    const ProgramStatus found = FeasiblePoint(a, s, b, m, n, epsilon, point);
    if (found != kProgramSolved) return found;
    std::vector<ActiveSetRow> rows;
    for (uint32_t k = 1; k <= m; ++k) {
      const double sign = s(k, 1) < 0.0 ? -1.0 : 1.0;
      ActiveSetRow row{std::vector<double>(n), sign * b(k, 1), s(k, 1) == 0.0};
      for (uint32_t j = 1; j <= n; ++j) row.g[j - 1] = sign * a(k, j);
      rows.push_back(row);
    }
    for (uint32_t j = 0; j < n; ++j) {
      ActiveSetRow bound{std::vector<double>(n, 0.0), 0.0, false};
      bound.g[j] = -1.0;
      rows.push_back(bound);
    }
    std::vector<uint32_t> working;
    for (uint32_t k = 0; k < m; ++k)
      if (rows[k].equality) working.push_back(k);
    // The Hessian of x'Cx - p.x, which is minimised.
    std::vector<double> hessian(size_t(n) * n);
    for (uint32_t i = 1; i <= n; ++i)
      for (uint32_t j = 1; j <= n; ++j) hessian[size_t(i - 1) * n + (j - 1)] = c(i, j) + c(j, i);
    const uint32_t cap = 50 * (n + uint32_t(rows.size())) + 100;
    Matrix kkt, rhs;
    std::vector<double> step(n), gradient(n);
    for (uint32_t round = 0;; ++round) {
      if (round >= cap) return kProgramGaveUp;
      const uint32_t w = uint32_t(working.size());
      const uint32_t size = n + w;
      if (!kkt.Resize(size, size) || !rhs.Resize(size, 1)) return kProgramNoMemory;
      kkt.Zero();
      rhs.Zero();
      for (uint32_t i = 0; i < n; ++i) {
        gradient[i] = -p(i + 1, 1);
        for (uint32_t j = 0; j < n; ++j) {
          kkt(i + 1, j + 1) = hessian[size_t(i) * n + j];
          gradient[i] += hessian[size_t(i) * n + j] * point[j];
        }
        rhs(i + 1, 1) = -gradient[i];
      }
      for (uint32_t r = 0; r < w; ++r)
        for (uint32_t j = 0; j < n; ++j) {
          kkt(n + r + 1, j + 1) = rows[working[r]].g[j];
          kkt(j + 1, n + r + 1) = rows[working[r]].g[j];
        }
      // A singular system: dependent rows in the working set, or a C that is
      // not positive definite.
      if (!GaussEliminate(kkt, rhs, nullptr, nullptr, int32_t(size), 1)) return kProgramInfeasible;
      double longest = 0.0, scale = 1.0;
      for (uint32_t j = 0; j < n; ++j) {
        step[j] = rhs(j + 1, 1);
        longest = std::fmax(longest, std::fabs(step[j]));
        scale = std::fmax(scale, std::fabs(point[j]));
      }
      if (longest <= 1e-13 * scale) {
        // At the working set's minimum: done unless a row's multiplier says
        // the objective falls by leaving it.
        uint32_t leave = w;
        double mostNegative = -epsilon;
        for (uint32_t r = 0; r < w; ++r) {
          const double multiplier = rhs(n + r + 1, 1);
          if (!rows[working[r]].equality && multiplier < mostNegative) {
            mostNegative = multiplier;
            leave = r;
          }
        }
        if (leave == w) break;
        working.erase(working.begin() + leave);
        continue;
      }
      double length = 1.0;
      uint32_t blocking = uint32_t(rows.size());
      for (uint32_t k = 0; k < rows.size(); ++k) {
        bool inWorking = false;
        for (const uint32_t r : working) inWorking = inWorking || r == k;
        if (inWorking) continue;
        const double rate = Dot(rows[k].g, step);
        if (!(rate > 0.0)) continue;
        const double room = std::fmax(0.0, rows[k].h - Dot(rows[k].g, point));
        if (room / rate < length) {
          length = room / rate;
          blocking = k;
        }
      }
      for (uint32_t j = 0; j < n; ++j) point[j] += length * step[j];
      if (blocking < rows.size()) working.push_back(blocking);
    }
    // A strictly convex objective has one optimum.
    if (*vector == 0) {
      *vector = 1;
      return kProgramSolved;
    }
    if (*vector > 1) return kProgramInfeasible;
    for (uint32_t j = 1; j <= n; ++j) x(j, 1) = point[j - 1] > 0.0 ? point[j - 1] : 0.0;
    return kProgramSolved;
  } catch (const std::bad_alloc&) {
    return kProgramNoMemory;
  }
}
