#include <algorithm>
#include <cmath>
#include <vector>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "functions/arg_readers.h"
#include "numerics/arg_values.h"
#include "numerics/continuous_cdfs.h"
#include "numerics/matrix_call.h"
#include "numerics/regression_handlers.h"

namespace {

// A temporary store holds one value per worksheet row.
constexpr size_t kMaxListValues = 2097152;

bool SameShape(const MatrixCall& call, uint16_t a, uint16_t b) {
  return call.Rows(a) == call.Rows(b) && call.Cols(a) == call.Cols(b);
}

enum class ChiResult { kProbability, kStatistic };

void ChiTest(EvalState& state, ChiResult wanted) {
  if (!MatrixCall::Begin(state, 2, 2)) return;
  MatrixCall call(state);
  call.Range(1);
  call.Range(0);
  if (call.Ok() && !SameShape(call, 0, 1)) call.Fail(kErrorValue);
  Matrix observed, expected;
  double chi2 = 0.0;
  if (call.Ok() && call.Read(0, observed) && call.Read(1, expected)) {
    for (uint32_t i = 1; i <= observed.rows; ++i)
      for (uint32_t j = 1; j <= observed.cols; ++j) {
        const double d = observed(i, j) - expected(i, j);
        chi2 += d * d / expected(i, j);
      }
  }
  if (!call.Ok() || wanted == ChiResult::kStatistic) {
    call.Finish(chi2);
    return;
  }
  // A single row or column is one classification: n - 1 degrees of
  // freedom, not the (rows - 1)(columns - 1) of a table, which would be 0.
  const uint32_t rows = call.Rows(0);
  const uint32_t cols = call.Cols(0);
  const double freedom =
      rows == 1 || cols == 1 ? double(rows) * cols - 1.0 : (double(rows) - 1.0) * (double(cols) - 1.0);
  if (freedom < 1.0 || IsBadNumber(chi2)) {
    call.Fail(kErrorNum);
    call.Finish(0.0);
    return;
  }
  call.Finish(ChiSquareCdf(chi2, freedom));
}

enum class PairResult { kCorrelation, kCovariance };

void PairStatistic(EvalState& state, PairResult wanted) {
  if (!MatrixCall::Begin(state, 2, 2)) return;
  MatrixCall call(state);
  call.Range(1);
  call.Range(0);
  if (call.Ok() && !SameShape(call, 0, 1)) call.Fail(kErrorNA);
  Matrix a, b;
  double result = 0.0;
  if (call.Ok() && call.Read(0, a) && call.Read(1, b)) {
    const uint32_t count = a.rows * a.cols;
    const double* x = a.Doubles();
    const double* y = b.Doubles();
    double sumX = 0.0;
    double sumY = 0.0;
    for (uint32_t k = 0; k < count; ++k) {
      sumX += x[k];
      sumY += y[k];
    }
    const double meanX = sumX / count;
    const double meanY = sumY / count;
    double xx = 0.0;
    double yy = 0.0;
    double xy = 0.0;
    for (uint32_t k = 0; k < count; ++k) {
      const double dx = x[k] - meanX;
      const double dy = y[k] - meanY;
      xx += dx * dx;
      yy += dy * dy;
      xy += dx * dy;
    }
    if (wanted == PairResult::kCovariance) {
      result = xy / count;
    } else if (xx == 0.0 || yy == 0.0) {
      // A constant list has no correlation: 0/0 must not become a number.
      call.Fail(kErrorDivZero);
    } else {
      result = xy / (std::sqrt(yy) * std::sqrt(xx));
    }
  }
  call.Finish(result);
}

// The numbers of a list, on the stack while there are at most kKept of them.
class NumberList {
 public:
  NumberList() = default;
  NumberList(const NumberList&) = delete;
  NumberList& operator=(const NumberList&) = delete;

  void Add(double x) {
    if (count_ < kKept) {
      kept_[count_++] = x;
      return;
    }
    if (count_ == kKept) more_.assign(kept_, kept_ + kKept);
    more_.push_back(x);
    ++count_;
  }
  // A plain list's numbers, gathered straight into kept_; false, with
  // nothing added, for any other list.
  bool GatherPlain(ArgValues& values) {
    const uint32_t n = values.GatherPlainNumbers(kept_, kKept);
    if (n == ArgValues::kNotPlain) return false;
    count_ = n;
    return true;
  }
  size_t Size() const { return count_; }
  double* Values() { return count_ > kKept ? more_.data() : kept_; }

 private:
  static constexpr size_t kKept = 256;
  double kept_[kKept];
  size_t count_ = 0;
  std::vector<double> more_;  // every number, once they outgrow kept_
};

// The numbers of every argument, sorted: a range's cells that read as
// numbers, a single value unless it carries an error, an empty position as
// 0; "#VALUE!" when there are none or too many.
uint32_t CollectNumbers(EvalState& state, NumberList* numbers) {
  ArgValues values(state);
  uint32_t error = kErrorNone;
  if (!numbers->GatherPlain(values)) {
    values.ForEach([&](const ArgValue& value) {
      if (value.error != kErrorNone || error != kErrorNone) return;
      if (numbers->Size() >= kMaxListValues) {
        error = kErrorValue;
        return;
      }
      numbers->Add(value.number);
    });
  }
  if (error == kErrorNone && numbers->Size() == 0) error = kErrorValue;
  if (error == kErrorNone) std::sort(numbers->Values(), numbers->Values() + numbers->Size());
  return error;
}

}  // namespace

void FnChiTest(EvalState& state) { ChiTest(state, ChiResult::kProbability); }
void FnChiTest2(EvalState& state) { ChiTest(state, ChiResult::kStatistic); }
void FnCorrel(EvalState& state) { PairStatistic(state, PairResult::kCorrelation); }
void FnCovar(EvalState& state) { PairStatistic(state, PairResult::kCovariance); }

void FnMedian(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  NumberList list;
  const uint32_t error = CollectNumbers(state, &list);
  double result = 0.0;
  if (error == kErrorNone) {
    const double* numbers = list.Values();
    const size_t n = list.Size();
    result = n % 2 == 1 ? numbers[n / 2] : (numbers[n / 2 - 1] + numbers[n / 2]) / 2.0;
  }
  SetNumberResult(state, result, error);
}

void FnMode(EvalState& state) {
  if (!RequireArgs(state, 1)) return;
  NumberList list;
  const uint32_t error = CollectNumbers(state, &list);
  double result = 0.0;
  if (error == kErrorNone) {
    const double* numbers = list.Values();
    // Ascending order: a later run must be strictly longer to win, so the
    // smallest of equally frequent values stays.
    result = numbers[0];
    size_t best = 1;
    size_t run = 0;
    for (size_t i = 0; i < list.Size(); ++i) {
      run = i > 0 && numbers[i] == numbers[i - 1] ? run + 1 : 1;
      if (run > best) {
        best = run;
        result = numbers[i];
      }
    }
  }
  SetNumberResult(state, result, error);
}
