#include "core/recalc/dependency_path.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>

#include "core/base/error_code.h"
#include "core/formula/kept_cell_lookups.h"
#include "core/recalc/formula_references.h"

namespace {

struct WalkNode {
  CellRecord* cell;
  CellStore* store;
  uint32_t edgeBegin;
  uint32_t edgeEnd;
  uint32_t nextEdge;
  uint8_t mark;  // 0 not reached, 1 on the walk's stack, 2 finished
  bool readsSource;
};

// A depth-first walk of the formulas' references from the target; a node
// finished with readsSource lies on the path.
struct Walk {
  EvalState* state;
  std::vector<const CellRecord*> sources;  // sorted
  std::vector<WalkNode> nodes;
  std::unordered_map<const CellRecord*, uint32_t> index;
  std::vector<uint32_t> edges;
  uint32_t examined = 0;
  uint32_t expanding = 0;
  uint8_t error = 0;
};

bool IsSource(const Walk& walk, const CellRecord* cell) {
  return std::binary_search(walk.sources.begin(), walk.sources.end(), cell);
}

// Notes one cell of a rectangle: a source, or a formula cell to follow.
bool VisitCell(Walk& walk, CellStore* store, CellRecord* cell) {
  if (++walk.examined > kMaxPathCellsExamined) {
    walk.error = kErrorNum;
    return false;
  }
  if (IsSource(walk, cell)) {
    walk.nodes[walk.expanding].readsSource = true;
    return true;
  }
  if (!cell->IsFormula()) return true;
  uint32_t id = 0;
  const auto found = walk.index.find(cell);
  if (found != walk.index.end()) {
    id = found->second;
  } else {
    if (walk.nodes.size() >= kMaxPathFormulaCells) {
      walk.error = kErrorNum;
      return false;
    }
    id = uint32_t(walk.nodes.size());
    walk.nodes.push_back(WalkNode{cell, store, 0, 0, 0, 0, false});
    walk.index.emplace(cell, id);
  }
  walk.edges.push_back(id);
  return true;
}

// Calls visit(store, cell) for each cell of the rectangle until it returns
// false; false then.
template <class Visit>
bool ForEachCellIn(const EvalState& state, const CellRectangle& rectangle, Visit visit) {
  // A single cell is found where the search's steps will look it up again.
  if (state.keptCells && rectangle.firstColumn == rectangle.lastColumn && rectangle.firstRow == rectangle.lastRow) {
    CellRecord* cell = state.keptCells->Find(*rectangle.store, rectangle.firstRow, rectangle.firstColumn);
    return !cell || visit(rectangle.store, cell);
  }
  CellCursor cursor = rectangle.store->StartRangeWalk(rectangle.firstRow);
  while (CellRecord* cell = cursor.NextInRange(rectangle.firstColumn, rectangle.lastColumn, rectangle.firstRow,
                                               rectangle.lastRow))
    if (!visit(rectangle.store, cell)) return false;
  return true;
}

bool VisitRectangle(void* context, const CellRectangle& rectangle) {
  Walk& walk = *static_cast<Walk*>(context);
  return ForEachCellIn(*walk.state, rectangle,
                       [&walk](CellStore* store, CellRecord* cell) { return VisitCell(walk, store, cell); });
}

// The tokens the evaluator that started the search kept for the text.
const ScannedFormula* KeptTokensOf(const EvalState& state, const char* text, uint16_t column) {
  const ScannedFormulaCache* kept = state.ownersFormulas;
  return kept ? kept->FindKept(text, std::strlen(text), column) : nullptr;
}

// The first look at the target's own references: most targets read the
// sources and plain cells only, and then no cell lies between, which is
// settled without the walk's tables.
struct FirstLook {
  const EvalState* state;
  uint32_t examined;
  bool seesFormula;  // or passes the walk's limit: the walk decides then
};

bool LookAtRectangle(void* context, const CellRectangle& rectangle) {
  FirstLook& look = *static_cast<FirstLook*>(context);
  return ForEachCellIn(*look.state, rectangle, [&look](CellStore*, const CellRecord* cell) {
    look.seesFormula = ++look.examined > kMaxPathCellsExamined || cell->IsFormula();
    return !look.seesFormula;
  });
}

bool ReadsOnlyValueCells(EvalState& state, CellStore* store, const CellRecord* target, const char* text) {
  const uint16_t column = target->Column();
  const uint32_t row = target->Row();
  FirstLook look{&state, 0, false};
  const ScannedFormula* tokens = KeptTokensOf(state, text, column);
  if (tokens)
    ForEachFormulaReference(state, store, *tokens, column, row, LookAtRectangle, &look);
  else
    ForEachFormulaReference(state, store, text, column, row, LookAtRectangle, &look);
  return !look.seesFormula;
}

// The formula text of a cell, NUL-terminated; empty when it is too long to
// evaluate (such a formula only ever gives "#SYNTAX!").
void CopyFormulaText(const CellRecord* cell, char* text) {
  const uint16_t length = cell->FormulaLength();
  if (length > kFormulaTextCapacity) {
    text[0] = '\0';
    return;
  }
  std::memcpy(text, cell->FormulaText(), length);
  text[length] = '\0';
}

// Lists the formula cells and sources the node's formula names.
bool Expand(Walk& walk, uint32_t id, const char* text) {
  walk.expanding = id;
  walk.nodes[id].edgeBegin = uint32_t(walk.edges.size());
  const WalkNode node = walk.nodes[id];
  const uint16_t column = node.cell->Column();
  const uint32_t row = node.cell->Row();
  const ScannedFormula* tokens = KeptTokensOf(*walk.state, text, column);
  const bool ok = tokens ? ForEachFormulaReference(*walk.state, node.store, *tokens, column, row, VisitRectangle, &walk)
                         : ForEachFormulaReference(*walk.state, node.store, text, column, row, VisitRectangle, &walk);
  WalkNode& expanded = walk.nodes[id];
  expanded.edgeEnd = uint32_t(walk.edges.size());
  expanded.nextEdge = expanded.edgeBegin;
  expanded.mark = 1;
  return ok;
}

// The path's nodes, each after the nodes it reads. A reference back to a
// node still on the stack closes a cycle; it is not followed, and such a
// cell keeps reading the cached value there, as a cycle shows "#CIRC!".
bool WalkFromTarget(Walk& walk, const char* targetText, std::vector<uint32_t>& order) {
  if (!Expand(walk, 0, targetText)) return false;
  std::vector<uint32_t> stack(1, 0);
  char text[kFormulaTextCapacity + 1];
  while (!stack.empty()) {
    const uint32_t top = stack.back();
    if (walk.nodes[top].nextEdge < walk.nodes[top].edgeEnd) {
      const uint32_t child = walk.edges[walk.nodes[top].nextEdge++];
      if (walk.nodes[child].mark == 0) {
        CopyFormulaText(walk.nodes[child].cell, text);
        if (!Expand(walk, child, text)) return false;
        stack.push_back(child);
      } else if (walk.nodes[child].mark == 2 && walk.nodes[child].readsSource) {
        walk.nodes[top].readsSource = true;
      }
      continue;
    }
    stack.pop_back();
    walk.nodes[top].mark = 2;
    if (!walk.nodes[top].readsSource) continue;
    if (top != 0) order.push_back(top);
    if (!stack.empty()) walk.nodes[stack.back()].readsSource = true;
  }
  return true;
}

// Only a formula holding one cached number takes a new one without its
// record changing size.
bool TakesNumberInPlace(const CellRecord* cell) {
  const uint8_t flags = cell->ResultFlags();
  return cell->IsFormula() && (flags & kResultCachedNumber) && !(flags & (kResultCachedText | kResultArray)) &&
         cell->FormulaLength() <= kFormulaTextCapacity;
}

}  // namespace

uint8_t DependencyPath::Find(EvalState& state, CellStore* store, const CellRecord* target, const char* text,
                             const CellRecord* const* sources, uint32_t sourceCount, EvalState* pass) {
  Restore();
  cells_.clear();
  texts_.clear();
  CellStore* const evaluatedSheet = state.sheet;
  const bool empty = ReadsOnlyValueCells(state, store, target, text);
  state.sheet = evaluatedSheet;
  return empty ? 0 : FindByWalk(state, store, target, text, sources, sourceCount, pass);
}

uint8_t DependencyPath::FindByWalk(EvalState& state, CellStore* store, const CellRecord* target, const char* text,
                                   const CellRecord* const* sources, uint32_t sourceCount, EvalState* pass) {
  Restore();
  cells_.clear();
  texts_.clear();
  CellStore* const evaluatedSheet = state.sheet;
  uint8_t error = 0;
  try {
    Walk walk;
    walk.state = &state;
    walk.sources.assign(sources, sources + sourceCount);
    std::sort(walk.sources.begin(), walk.sources.end());
    walk.nodes.push_back(WalkNode{const_cast<CellRecord*>(target), store, 0, 0, 0, 0, false});
    walk.index.emplace(target, 0);
    std::vector<uint32_t> order;
    if (!WalkFromTarget(walk, text, order)) {
      error = walk.error ? walk.error : uint8_t(kErrorNum);
    } else {
      // A path cell the pass has not calculated yet is calculated first: its
      // record may still be as an edit left it (a pasted copy of an array
      // formula, a formula typed with no result yet).
      if (pass)
        for (const uint32_t id : order) pass->NotePending(walk.nodes[id].cell, walk.nodes[id].store);
      for (const uint32_t id : order)
        if (!TakesNumberInPlace(walk.nodes[id].cell)) error = kErrorRef;
    }
    for (size_t i = 0; i < order.size() && error == 0; ++i) {
      const WalkNode& node = walk.nodes[order[i]];
      PathCell cell{node.cell, node.store, uint32_t(texts_.size()), {}};
      std::memcpy(cell.savedHead, node.cell->Bytes(), kFormulaCellHeadSize);
      const uint16_t length = node.cell->FormulaLength();
      texts_.insert(texts_.end(), node.cell->FormulaText(), node.cell->FormulaText() + length);
      texts_.push_back('\0');
      cells_.push_back(cell);
    }
  } catch (const std::bad_alloc&) {
    error = kErrorMemory;
  }
  if (error != 0) cells_.clear();
  state.sheet = evaluatedSheet;
  return error;
}

bool DependencyPath::Recalculate(EvalState& state) {
  CellStore* const evaluatedSheet = state.sheet;
  bool ok = true;
  for (PathCell& path : cells_) {
    changed_ = true;
    CellRecord* cell = path.cell;
    const uint16_t column = cell->Column();
    const uint32_t row = cell->Row();
    state.sheet = path.store;
    const uint32_t kind = state.Evaluate(&texts_[path.textStart], column, row);
    const EvalValue& result = state.operands[1];
    if (kind == kEvalNumber) {
      cell->SetCachedNumber(result.kind == kEvalNumber ? result.number : 0.0);
      cell->SetType(uint8_t(kCellFormula | (result.error & kCellErrorMask)));
    } else if (kind == 0) {
      // As in a recalculation pass: the cached value stays, shown as the error.
      cell->SetType(uint8_t(kCellFormula | kErrorSyntax));
    } else {
      ok = false;
    }
    state.ResetForFormula(column, row);
    if (!ok) break;
  }
  state.sheet = evaluatedSheet;
  return ok;
}

void DependencyPath::Restore() {
  if (!changed_) return;
  for (PathCell& path : cells_) std::memcpy(path.cell->Bytes(), path.savedHead, kFormulaCellHeadSize);
  changed_ = false;
}
