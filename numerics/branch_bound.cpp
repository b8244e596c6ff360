#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "numerics/linear_program.h"

namespace {

constexpr double kMostNegative = -1.7976931348623157e308;

#pragma pack(push, 1)
// One variable's bounds in an open sub-problem; a node is n records.
struct BranchBound {
  double lower;
  double upper;
  double value;          // the parent's optimum, the same in every record of a node
  uint32_t pivotColumn;  // first record only: a column to pivot in before judging, 0 for none
  uint8_t flags;         // bit 0 lower bound set, bit 1 upper bound set
  uint8_t reserved[3];
};
#pragma pack(pop)
static_assert(sizeof(BranchBound) == 32, "node records are 32 bytes");

constexpr uint8_t kLowerSet = 1;
constexpr uint8_t kUpperSet = 2;

// The open sub-problems, one row of n records each.
class BranchNodeTable {
 public:
  explicit BranchNodeTable(uint32_t n) : n_(n) {}
  uint32_t Rows() const { return uint32_t(records_.size() / n_); }
  BranchBound* Row(uint32_t r) { return &records_[size_t(r) * n_]; }
  bool Append(const BranchBound* node) {
    try {
      records_.insert(records_.end(), node, node + n_);
    } catch (const std::bad_alloc&) {
      return false;
    }
    return true;
  }
  void Remove(uint32_t r) {
    records_.erase(records_.begin() + ptrdiff_t(size_t(r) * n_), records_.begin() + ptrdiff_t(size_t(r + 1) * n_));
  }

 private:
  uint32_t n_;
  std::vector<BranchBound> records_;
};

// The open node whose parent promised the most; the last among equals.
uint32_t PickNode(BranchNodeTable& table) {
  uint32_t pick = table.Rows() - 1;
  for (uint32_t r = 0; r + 1 < table.Rows(); ++r)
    if (table.Row(r)->value > table.Row(pick)->value) pick = r;
  return pick;
}

void AppendBounds(const std::vector<BranchBound>& node, std::vector<BoundRow>& rows) {
  rows.clear();
  for (uint32_t j = 0; j < node.size(); ++j) {
    if (node[j].flags & kUpperSet) rows.push_back(BoundRow{j + 1, 1, node[j].upper});
    if (node[j].flags & kLowerSet) rows.push_back(BoundRow{j + 1, -1, node[j].lower});
  }
}

void SetNodeValue(std::vector<BranchBound>& node, double value, uint32_t pivotColumn) {
  for (BranchBound& record : node) {
    record.value = value;
    record.pivotColumn = 0;
  }
  node[0].pivotColumn = pivotColumn;
}

}  // namespace

ProgramStatus BranchBoundProgram(Matrix& a, Matrix& s, Matrix& b, const Matrix& c, const Matrix& flags, Matrix& x,
                                 int32_t* vector, uint32_t m, uint32_t n, double epsilon, double penalty,
                                 bool binary) {
  epsilon = PrepareLinearProgram(a, s, b, m, n, epsilon);
  if (!(penalty > 0.0)) penalty = DefaultPenaltyCoefficient(a, c, m, n, epsilon);
  try {
    BranchNodeTable table(n);
    std::vector<BranchBound> node(n), child(n);
    std::vector<BoundRow> bounds;
    std::memset(node.data(), 0, sizeof(BranchBound) * n);
    SetNodeValue(node, kMostNegative, 0);
    for (uint32_t j = 0; j < n; ++j)
      if (binary && flags(j + 1, 1) == 1.0) {
        node[j].upper = 1.0;
        node[j].flags = kUpperSet;
      }
    if (!table.Append(node.data())) return kProgramNoMemory;
    double best = kMostNegative;
    int32_t counter = 0;
    int32_t status = -1;  // none set yet
    bool found = false;
    uint32_t visited = 0;
    SimplexTableau tab;
    while (table.Rows() > 0) {
      if (++visited > kBranchNodeCap) return kProgramGaveUp;
      const uint32_t pick = PickNode(table);
      if (table.Row(pick)->value + epsilon < best) break;
      std::memcpy(node.data(), table.Row(pick), sizeof(BranchBound) * n);
      table.Remove(pick);
      AppendBounds(node, bounds);
      if (!BuildSimplexTableau(tab, a, s, b, c, m, n, bounds.data(), uint32_t(bounds.size()), penalty, epsilon))
        return kProgramNoMemory;
      const ProgramStatus solved = SolveSimplexTableau(tab);
      if (solved == kProgramGaveUp) return kProgramGaveUp;
      if (solved != kProgramSolved) {
        if (status < 0) status = solved;
        continue;
      }
      if (node[0].pivotColumn != 0 && !SimplexPivotColumn(tab, node[0].pivotColumn)) break;
      if (SimplexInfeasible(tab)) {
        if (status < 0) status = kProgramInfeasible;
        continue;
      }
      double z = 0.0;
      uint32_t branchRow = 0;
      for (uint32_t i = 1; i <= tab.rows; ++i) {
        const uint32_t j = tab.Basic(i);
        if (j < 1 || j > n) continue;
        const double value = tab.rhs(i, 1);
        z += c(j, 1) * value;
        if (branchRow == 0 && flags(j, 1) != 0.0 && std::fabs(value - std::floor(value + 0.5)) > epsilon)
          branchRow = i;
      }
      if (!(z > best || std::fabs(z - best) <= epsilon)) continue;
      if (branchRow != 0) {
        const uint32_t j = tab.Basic(branchRow) - 1;
        const double value = tab.rhs(branchRow, 1);
        child = node;
        SetNodeValue(child, z, 0);
        const double up = std::ceil(value);
        child[j].lower = (node[j].flags & kLowerSet) && node[j].lower > up ? node[j].lower : up;
        child[j].flags |= kLowerSet;
        if (!table.Append(child.data())) return kProgramNoMemory;
        child = node;
        SetNodeValue(child, z, 0);
        const double down = std::floor(value);
        child[j].upper = (node[j].flags & kUpperSet) && node[j].upper < down ? node[j].upper : down;
        child[j].flags |= kUpperSet;
        if (!table.Append(child.data())) return kProgramNoMemory;
        continue;
      }
      if (std::fabs(z - best) <= epsilon) {
        ++counter;
      } else {
        // A better optimum: vectors counted for the old one no longer count.
        counter = 1;
        found = false;
      }
      best = z;
      if (counter == *vector) {
        SimplexSolution(tab, x);
        found = true;
      }
      if (node[0].pivotColumn != 0) continue;
      for (uint32_t j = 1; j <= tab.slackEnd; ++j) {
        if (std::fabs(tab.reduced(1, j)) > epsilon) continue;
        bool basic = false;
        for (uint32_t i = 1; i <= tab.rows && !basic; ++i) basic = tab.Basic(i) == j;
        if (basic) continue;
        child = node;
        SetNodeValue(child, z, j);
        if (!table.Append(child.data())) return kProgramNoMemory;
      }
    }
    if (*vector == 0) {
      *vector = counter;
      if (counter >= 1) return kProgramSolved;
    } else if (found) {
      return kProgramSolved;
    }
    return status < 0 ? kProgramInfeasible : ProgramStatus(status);
  } catch (const std::bad_alloc&) {
    return kProgramNoMemory;
  }
}
