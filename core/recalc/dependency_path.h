#ifndef TALVERO_CORE_DEPENDENCY_PATH_H
#define TALVERO_CORE_DEPENDENCY_PATH_H

// The formula cells through which a formula reads a set of source cells,
// found once from the formulas' references and then recalculated in place,
// in dependency order, each time the sources change: a recalculation of
// those cells only, without a pass over the workbook. Every cell on the
// path gets its cached result and state back when the path is restored or
// destroyed.

#include <cstdint>
#include <vector>

#include "core/cells/cell_store.h"
#include "core/formula/eval_state.h"

// Formula cells the walk may visit, and cells it may examine in the ranges
// those formulas name, before it gives up.
constexpr uint32_t kMaxPathFormulaCells = 65536;
constexpr uint32_t kMaxPathCellsExamined = 1u << 22;

class DependencyPath {
 public:
  DependencyPath() = default;
  ~DependencyPath() { Restore(); }
  DependencyPath(const DependencyPath&) = delete;
  DependencyPath& operator=(const DependencyPath&) = delete;

  // Finds the path from the sources to the formula text of the formula cell
  // target of store, scanning with state. Returns 0, or the error
  // the caller gives: "#REF!" when a cell on the path does not hold a
  // single cached number (only such cells can be recalculated in place),
  // "#NUM!" when the walk passes its limits, "#MEMORY!".
  // The path's cells are taken as pass, the evaluator of the recalculation
  // the caller runs in (null: none), will have calculated them: one it has
  // not calculated yet is noted pending there, so that the pass calculates
  // it and then calls again. Until then the path may see a record as an
  // earlier pass or an edit left it.
  uint8_t Find(EvalState& state, CellStore* store, const CellRecord* target, const char* text,
               const CellRecord* const* sources, uint32_t sourceCount, EvalState* pass = nullptr);
  // The same by the general walk alone, without the shortcut for a target
  // that reads no formula cell; for comparing the two.
  uint8_t FindByWalk(EvalState& state, CellStore* store, const CellRecord* target, const char* text,
                     const CellRecord* const* sources, uint32_t sourceCount, EvalState* pass = nullptr);
  uint32_t Count() const { return uint32_t(cells_.size()); }

  // Evaluates the path's cells in order with state and stores each number
  // and error in its cell. False when one gives a text or an array, which
  // the cell cannot take in place.
  bool Recalculate(EvalState& state);
  // Puts back every path cell's record head as Find saw it.
  void Restore();

 private:
  struct PathCell {
    CellRecord* cell;
    CellStore* store;
    uint32_t textStart;  // in texts_
    uint8_t savedHead[kFormulaCellHeadSize];
  };
  std::vector<PathCell> cells_;
  std::vector<char> texts_;
  bool changed_ = false;
};

#endif
