#include "numerics/formula_solvers.h"

namespace {
int32_t solverDepth = 0;
}  // namespace

SolverNesting::SolverNesting() : level_(solverDepth), allowed_(solverDepth < kMaxSolverNesting) { ++solverDepth; }
SolverNesting::~SolverNesting() { --solverDepth; }

bool SolverVariables::Add(CellRecord* cell) {
  if (!cell || count_ >= kMaxSolverVariables) return false;
  if (cell->IsNumber() && cell->ErrorCode() == 0) {
    saved_[count_] = cell->Number();
  } else if (cell->IsFormula() && cell->ErrorCode() == 0 && (cell->ResultFlags() & kResultCachedNumber) &&
             !cell->HasCachedText()) {
    saved_[count_] = cell->CachedNumber();
  } else {
    return false;
  }
  cells_[count_++] = cell;
  return true;
}

double SolverVariables::Value(uint32_t i) const {
  return cells_[i]->IsNumber() ? cells_[i]->Number() : cells_[i]->CachedNumber();
}

void SolverVariables::Set(uint32_t i, double value) {
  if (cells_[i]->IsNumber())
    cells_[i]->SetNumber(value);
  else
    cells_[i]->SetCachedNumber(value);
}

void SolverVariables::Restore() {
  for (uint32_t i = 0; i < count_; ++i) Set(i, saved_[i]);
}
