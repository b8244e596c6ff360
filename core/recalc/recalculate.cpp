#include "core/recalc/recalculate.h"

#include <cstdlib>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/eval/spill_extents.h"
#include "core/recalc/formula_result.h"
#include "core/recalc/gathered_cells.h"
#include "core/base/global_options.h"
#include "core/workbook/workbook.h"

namespace {

struct SuspendedCell {
  CellStore* store;
  uint16_t column;
  uint32_t row;
  // The cell's record, valid while the store's chain has not changed since,
  // and the block holding it when known (else null), valid as long.
  CellRecord* record;
  CellBlock* block;
  uint64_t chainChanges;
  // What its last evaluation gathered, to take in place of evaluating it
  // again.
  GatheredCells gathered;
};

// What it gathered is set when the cell joins the chain (WithGatherBase).
SuspendedCell Suspend(CellStore* store, CellRecord* record, CellBlock* block) {
  SuspendedCell cell;
  cell.store = store;
  cell.column = record->Column();
  cell.row = record->Row();
  cell.record = record;
  cell.block = block;
  cell.chainChanges = store->ChainChanges();
  return cell;
}

// A cell joining the chain, its gathered cells to stand from base on.
SuspendedCell& WithGatherBase(SuspendedCell& cell, uint32_t base) {
  StartGathered(cell.gathered, base);
  return cell;
}

// The suspended cell's record, looked up again only when records moved.
CellRecord* RecordOf(SuspendedCell& cell) {
  if (cell.store->ChainChanges() != cell.chainChanges) {
    cell.record = cell.store->GetCell(cell.row, cell.column);
    cell.block = nullptr;
    cell.chainChanges = cell.store->ChainChanges();
  }
  return cell.record;
}

// A list on the heap that grows by doubling; false when it cannot grow.
template <class T>
class GrowingList {
 public:
  GrowingList() = default;
  ~GrowingList() { std::free(items_); }
  GrowingList(const GrowingList&) = delete;
  GrowingList& operator=(const GrowingList&) = delete;

  bool Push(const T& item) {
    if (count_ == capacity_) {
      const size_t grown = capacity_ ? capacity_ * 2 : 64;
      T* moved = static_cast<T*>(std::malloc(grown * sizeof(T)));
      if (!moved)
        return false;
      if (count_)
        std::memcpy(moved, items_, count_ * sizeof(T));
      std::free(items_);
      items_ = moved;
      capacity_ = grown;
    }
    items_[count_++] = item;
    return true;
  }
  void Pop() { --count_; }
  void Resize(size_t count) {
    if (count < count_)
      count_ = count;
  }
  bool Empty() const { return count_ == 0; }
  T& Top() { return items_[count_ - 1]; }
  T* Items() { return items_; }
  const T* Items() const { return items_; }
  size_t Count() const { return count_; }

 private:
  T* items_ = nullptr;
  size_t count_ = 0;
  size_t capacity_ = 0;
};

// The chain of formula cells being calculated, the innermost on top. Each
// cell below the top waits for the one above it. The chain grows on the
// heap because its depth is bounded only by the number of formula cells,
// and it keeps every return link, so a cycle entered from outside cannot
// overwrite the link of a cell that still waits.
using RecalcChain = GrowingList<SuspendedCell>;

// What the passes of one recalculation share, each list by formula cell:
// - the array formulas whose result areas changed in the pass under way;
// - those found circular for good. An array formula found circular through
//   its own result area (its evaluation waited, through other formulas or
//   not, for that very area) in a pass after the first, where every area
//   is one this recalculation wrote, stays circular, without an area, for
//   the passes that follow: otherwise it would spill in one pass, find the
//   cycle in the next and drop its values again, and end in whichever
//   state the last pass left. An area found in the workbook as it stood
//   before the recalculation proves nothing: the result that wrote it may
//   be gone. When the passes do not settle, the formulas whose areas the
//   last one changed are made circular too (see MarkUnsettledCircular).
struct RecalcPasses {
  RecalcChain chain;  // empty between formulas; kept to reuse its room
  uint32_t pass = 0;
  GrowingList<SpillExtent> changedAreas;
  GrowingList<SpillExtent> circularAreas;
};

// Notes the formula cell as one whose result area changed, when storing its
// result changed an area.
bool NoteChangedArea(const EvalState& state, uint32_t changesBefore, RecalcPasses& passes, CellStore& store,
                     uint16_t column, uint32_t row) {
  if (state.spillAreasChanged == changesBefore)
    return true;
  return passes.changedAreas.Push(SpillExtent{&store, column, row, column, row, 0, 0});
}


// The result areas of the spilling array formulas met while the pass is
// prepared, so that a value read from one waits for its formula as a
// formula cell would, and the spill values that lie in none of them. After
// a failed push the lists stay as they were.
struct SpillAreaCollector {
  GrowingList<SpillExtent>* areas;
  GrowingList<SpillExtent> orphans;  // one cell each
  CellStore* store;
  uint32_t firstOfStore;  // the store's first area in the list
  bool failed;
};

// Whether a spilling formula of the collector's store met so far owns the
// cell: its formula comes before the cell in storage order, so only the
// areas listed already can; going back from the newest, the areas whose
// store reaches no further than the row before the cell's end the search.
bool OwnedBySpillArea(const SpillAreaCollector& collector, uint16_t column, uint32_t row) {
  const SpillExtent* areas = collector.areas->Items();
  for (size_t i = collector.areas->Count(); i-- > collector.firstOfStore;) {
    const SpillExtent& area = areas[i];
    if (area.reachRow < row)
      return false;
    if (row <= area.lastRow && column >= area.column && column <= area.lastColumn)
      return true;
  }
  return false;
}

void CollectSpillArea(void* context, const CellRecord& cell) {
  auto* collector = static_cast<SpillAreaCollector*>(context);
  if (collector->failed)
    return;
  if (cell.IsSpillValue()) {
    // A value no result area holds was left behind by an edit that moved
    // it away from its formula (or its formula away): it shows nothing any
    // formula computes, and would make the workbook depend on the edits
    // that led to it.
    if (!OwnedBySpillArea(*collector, cell.Column(), cell.Row()) &&
        !collector->orphans.Push(SpillExtent{collector->store, cell.Column(), cell.Row(), cell.Column(), cell.Row(),
                                             0, 0}))
      collector->failed = true;
    return;
  }
  const uint32_t lastColumn = cell.Column() + uint32_t(cell.ArrayColumns() ? cell.ArrayColumns() - 1 : 0);
  const uint64_t lastRow = cell.Row() + uint64_t(cell.ArrayRows() ? cell.ArrayRows() - 1 : 0);
  SpillExtent area{collector->store,
                   cell.Column(),
                   cell.Row(),
                   static_cast<uint16_t>(lastColumn > kMaxColumn ? kMaxColumn : lastColumn),
                   static_cast<uint32_t>(lastRow > kMaxRow ? kMaxRow : lastRow),
                   0,
                   0};
  // The reach of the store's areas so far (OrderSpillExtents sets it again).
  const size_t count = collector->areas->Count();
  area.reachRow = area.lastRow;
  if (count > collector->firstOfStore && collector->areas->Items()[count - 1].reachRow > area.reachRow)
    area.reachRow = collector->areas->Items()[count - 1].reachRow;
  if (!collector->areas->Push(area))
    collector->failed = true;
}

// Marks every formula cell of the workbook uncalculated and lists the
// result areas of its spilling array formulas, in one walk of each sheet;
// spill values that no area holds are deleted. False when the list could
// not hold them all.
bool PreparePass(CWorkBook& workbook, GrowingList<SpillExtent>& areas) {
  SpillAreaCollector collector{&areas, {}, nullptr, 0, false};
  for (CWorkBook::CTreeItem* item = workbook.firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
      collector.store = &sheet->cells;
      collector.firstOfStore = static_cast<uint32_t>(areas.Count());
      const size_t orphansBefore = collector.orphans.Count();
      sheet->cells.MarkFormulaCellsDirty(CollectSpillArea, &collector);
      if (collector.orphans.Count() == orphansBefore)
        continue;
      for (size_t i = orphansBefore; i < collector.orphans.Count(); ++i) {
        const SpillExtent& orphan = collector.orphans.Items()[i];
        sheet->cells.DeleteRange(orphan.column, orphan.column, orphan.row, orphan.row, nullptr, false);
      }
      // The deletions moved records the marking indexed: it runs again.
      collector.areas->Resize(collector.firstOfStore);
      sheet->cells.MarkFormulaCellsDirty(CollectSpillArea, &collector);
    }
  return !collector.failed;
}

// Passes one recalculation may take while array results change the areas
// the pass knew; each further pass settles at least the results that read
// only settled ones.
constexpr uint32_t kMaxSpillSettlingPasses = 4;

// The worksheet's position in the workbook's item list, 0 when unknown.
uint32_t SheetIndexOf(const CWorkBook& workbook, const CellStore* store) {
  const int32_t index = workbook.IndexOfItem(workbook.FindWorksheetByStore(store));
  return index > 0 ? static_cast<uint32_t>(index) : 0;
}

// Leaves the chain: no longer pending, no dependant waiting. A list that
// holds the cell keeps its marks until it looks at it.
void LeaveChain(CellRecord* cell) {
  cell->SetPending(static_cast<uint8_t>(cell->Pending() & ~kPendingOnChain));
  cell->SetResultFlags(static_cast<uint8_t>(cell->ResultFlags() & ~kResultDependantWaits));
}

bool OnChain(const CellRecord* cell) { return (cell->Pending() & kPendingOnChain) != 0; }
void JoinChain(CellRecord* cell) { cell->SetPending(static_cast<uint8_t>(cell->Pending() | kPendingOnChain)); }

// Evaluates the formula cell's text; kind 0 (syntax) when it is too long
// for the evaluator.
uint32_t EvaluateCell(EvalState& state, const CellRecord* cell) {
  // Only the kind says whether a cell was noted; noting writes the rest.
  state.pending.kind = kEvalInvalid;
  state.pending.error = 0;
  state.pendingGather.Reset();
  return state.Evaluate(cell->FormulaText(), cell->FormulaLength(), cell->Column(), cell->Row());
}

// NeededCell's lookup of the noted cell, out of line: most formulas note
// none. When it is no longer an uncalculated formula, what the evaluation
// gathered leaves the list.
CellRecord* UncalculatedFormulaAt(EvalState& state) {
  const uint32_t column = state.pending.cell.column;
  CellRecord* cell = column > kMaxColumn ? nullptr
                                         : state.pending.sheet->GetCell(state.pending.cell.row,
                                                                        static_cast<uint16_t>(column));
  if (!cell || !cell->IsFormula() || (cell->ResultFlags() & kResultCalculated)) {
    state.pendingGather.Unmark(state.pendingGather.First(), state.pendingGather.End());
    return nullptr;
  }
  return cell;
}

// The cell the evaluation noted as needed first, when it is still an
// uncalculated formula.
inline CellRecord* NeededCell(EvalState& state) {
  if (state.pending.kind != kEvalCellRef || !state.pending.sheet)
    return nullptr;
  return UncalculatedFormulaAt(state);
}

// An array result about to spill over the old result of a formula that
// comes before it in storage order and is not yet calculated in this pass:
// that formula first settles what stands there, as it would in a pass in
// storage order (it may keep, move or drop its result), so that a formula
// calculated early for a reader decides as it decides in every later pass.
// A formula already waiting on the chain is not waited for: its old result
// stands, as it stands in every pass that enters the chain the same way.
// Noted as the needed cell; null when there is none. The first earlier area
// the result meets, whatever its formula's state, is left in the evaluator
// for the storing of the result (which keeps it out of that area).
CellRecord* SpillOwnerToSettleFirst(EvalState& state, uint32_t kind, CellStore& store, uint16_t column, uint32_t row) {
  state.earlierSpillArea = nullptr;
  if (kind != kEvalArray || state.spillAreaCount == 0)
    return nullptr;
  const EvalValue& result = state.operands[1];
  if (result.error)
    return nullptr;
  const uint64_t lastColumn = uint64_t(column) + result.second.column;
  const uint64_t lastRow = uint64_t(row) + result.second.row;
  SpillExtent* stale = nullptr;
  FindEarlierSpillAreas(state.spillAreas, state.spillAreaCount, &store, column,
                        uint32_t(lastColumn > kMaxColumn ? kMaxColumn : lastColumn), row,
                        uint32_t(lastRow > kMaxRow ? kMaxRow : lastRow), row, column, &stale, &state.earlierSpillArea,
                        &state.spillAreaHint);
  if (!stale || state.pending.kind != kEvalInvalid)
    return nullptr;
  CellRecord* owner = store.GetCell(stale->row, stale->column);
  if (!owner || OnChain(owner))
    return nullptr;
  // Waiting for an area, not a value: nothing is gathered with it.
  state.pendingGather.StopNoting();
  state.NotePending(owner, &store);
  return owner;
}

// Calculates the formula cell start of store and, first, every
// uncalculated formula cell it needs. A needed cell that is already on the
// chain closes a cycle: it becomes "#CIRC!" (keeping its cached value) and
// counts as calculated, so the cells waiting on it see the error.
bool CalculateChain(EvalState& state, CWorkBook& workbook, RecalcPasses& passes, CellStore& store, CellRecord* start,
                    CellBlock* startBlock, bool* layoutChanged) {
  RecalcChain& chain = passes.chain;
  bool ok = true;
  // Most formulas need no uncalculated cell: the first evaluation is stored
  // without the chain, which takes over, with that evaluation, only when a
  // cell is needed. Only the cycle check reads the pending counter, and
  // only on the chain: the start is counted pending when it joins.
  SuspendedCell first = Suspend(&store, start, startBlock);
  state.owner = &workbook;
  state.sheet = &store;
  uint32_t kind = EvaluateCell(state, start);
  CellRecord* needed = NeededCell(state);
  if (!needed && kind == kEvalArray)
    needed = SpillOwnerToSettleFirst(state, kind, store, first.column, first.row);
  if (!needed) {
    CellRecord* cell = RecordOf(first);
    // A number for a record that holds a single cached number is written
    // in place, the flags saying calculated in the same stroke.
    if (StoreNumberInPlace(state, kind, cell, kResultCalculated | kResultCachedNumber)) {
      state.lastStored = {cell, &store, store.ChainChanges()};
      return true;
    }
    const uint32_t changes = state.spillAreasChanged;
    if (!StoreFormulaResult(state, kind, store, cell, first.block, first.column, first.row, layoutChanged) ||
        !NoteChangedArea(state, changes, passes, store, first.column, first.row))
      ok = false;
    if (CellRecord* done = RecordOf(first))
      LeaveChain(done);
    return ok;
  }
  if (CellRecord* cell = RecordOf(first))
    JoinChain(cell);
  // A copy joins the chain, so that the formulas that need nothing, nearly
  // all, keep theirs in registers.
  SuspendedCell joining = first;
  KeepGathered(state, kind, WithGatherBase(joining, 0).gathered);
  if (!chain.Push(joining)) {
    if (CellRecord* cell = RecordOf(first)) {
      cell->SetType(static_cast<uint8_t>(kCellFormula | kErrorMemory));
      cell->SetResultFlags(static_cast<uint8_t>(cell->ResultFlags() | kResultCalculated));
      LeaveChain(cell);
    }
    return false;
  }

  bool evaluated = true;  // the top's evaluation stands in state
  while (!chain.Empty()) {
    SuspendedCell& top = chain.Top();
    CellRecord* cell = RecordOf(top);
    if (!evaluated) {
      if (!cell || !cell->IsFormula()) {
        DropGathered(state, top.gathered);
        chain.Pop();
        continue;
      }
      if (cell->ResultFlags() & kResultCalculated) {
        // Found circular while it waited: its "#CIRC!" stands.
        DropGathered(state, top.gathered);
        LeaveChain(cell);
        chain.Pop();
        continue;
      }
      state.owner = &workbook;
      state.sheet = top.store;
      needed = TakeGathered(state, top.gathered);
      if (!needed && top.gathered.resultKept) {
        kind = TakeKeptResult(state, top.gathered);
      } else if (!needed) {
        state.pendingGather.SetBase(top.gathered.base);
        kind = EvaluateCell(state, cell);
        needed = NeededCell(state);
        if (needed)
          KeepGathered(state, kind, top.gathered);
        else if (kind == kEvalArray)
          needed = SpillOwnerToSettleFirst(state, kind, *top.store, top.column, top.row);
      }
    }
    evaluated = false;
    if (needed) {
      if (OnChain(needed)) {
        CellStore& neededStore = *state.pending.sheet;
        const uint16_t column = needed->Column();
        const uint32_t row = needed->Row();
        const uint32_t changes = state.spillAreasChanged;
        if (state.pending.error == EvalState::kPendingForResultArea && passes.pass > 0 &&
            !passes.circularAreas.Push(SpillExtent{&neededStore, column, row, column, row, 0, 0}))
          ok = false;
        if (!StoreFormulaError(state, neededStore, needed, column, row, kErrorCirc, false, layoutChanged) ||
            !NoteChangedArea(state, changes, passes, neededStore, column, row))
          ok = false;
        continue;
      }
      const SuspendedCell waiting = top;
      SuspendedCell joining = Suspend(state.pending.sheet, needed, nullptr);
      if (chain.Push(WithGatherBase(joining, waiting.gathered.end))) {
        // The chain holds the return path; the record keeps a copy of its
        // own link for whoever inspects the cell.
        needed->SetDependantColumn(waiting.column);
        needed->SetDependantRow(waiting.row);
        needed->SetDependantSheet(SheetIndexOf(workbook, waiting.store));
        needed->SetResultFlags(static_cast<uint8_t>(needed->ResultFlags() | kResultDependantWaits));
        JoinChain(needed);
        continue;
      }
      // No room to suspend: the waiting cells cannot be finished.
      ok = false;
      for (; !chain.Empty(); chain.Pop()) {
        DropGathered(state, chain.Top().gathered);
        CellRecord* suspended = RecordOf(chain.Top());
        if (suspended && suspended->IsFormula()) {
          suspended->SetType(static_cast<uint8_t>(kCellFormula | kErrorMemory));
          suspended->SetResultFlags(static_cast<uint8_t>(suspended->ResultFlags() | kResultCalculated));
          LeaveChain(suspended);
        }
      }
      break;
    }
    // The evaluation may have moved records (a solver's trial values).
    cell = RecordOf(top);
    if (cell && (cell->Pending() & kPendingGathered))
      NoteStanding(state, kind, cell);
    if (StoreNumberInPlace(state, kind, cell, kResultCalculated | kResultCachedNumber)) {
      cell->SetPending(static_cast<uint8_t>(cell->Pending() & ~kPendingOnChain));
    } else {
      const uint32_t changes = state.spillAreasChanged;
      if (!StoreFormulaResult(state, kind, *top.store, cell, top.block, top.column, top.row, layoutChanged) ||
          !NoteChangedArea(state, changes, passes, *top.store, top.column, top.row))
        ok = false;
      if (CellRecord* done = RecordOf(top))
        LeaveChain(done);
    }
    chain.Pop();
  }
  // The next formula starts a chain of its own.
  state.pendingGather.SetBase(0);
  return ok;
}

// One pass over the formula cells of one worksheet store; the cells they
// need on other worksheets are calculated on the way. False when storage
// ran out (the pass still visits every cell).
bool RecalcSheet(EvalState& state, CellStore& store, CWorkBook& workbook, RecalcPasses& passes) {
  bool ok = true;
  // Only within the pass does a kept record stay where it was.
  state.lastStored.cell = nullptr;
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = store.FirstBlock();
  const auto uncalculatedFormula = [](const CellRecord& record) {
    return record.IsFormula() && !(record.ResultFlags() & kResultCalculated);
  };
  while (CellRecord* cell = NextRecordWhere(cursor, uncalculatedFormula)) {
    const uint16_t column = cell->Column();
    const uint32_t row = cell->Row();
    bool layoutChanged = false;
    const uint64_t changes = store.ChainChanges();
    if (!CalculateChain(state, workbook, passes, store, cell, cursor.block, &layoutChanged))
      ok = false;
    if (layoutChanged || store.ChainChanges() != changes) {
      // Results stored on the way moved records: find the place again.
      cursor = CellCursor();
      cursor.flags = kCursorAfterRecord;
      store.FindCell(row, column, &cursor);
    }
  }
  state.lastStored.cell = nullptr;
  return ok;
}

// The formulas found circular for result areas that never settled stand
// calculated as they were left: circular, without an area.
void KeepCircularAreas(RecalcPasses& passes) {
  for (size_t i = 0; i < passes.circularAreas.Count(); ++i) {
    const SpillExtent& place = passes.circularAreas.Items()[i];
    CellRecord* cell = place.store->GetCell(place.row, place.column);
    if (cell && cell->IsFormula())
      cell->SetResultFlags(static_cast<uint8_t>(cell->ResultFlags() | kResultCalculated));
  }
}

// The formulas whose result areas the last pass still changed: their areas
// depend on themselves (a result that reads its own area, through other
// formulas or not) and would change at every pass. Each becomes circular,
// without an area, so that the recalculation ends the same whatever state
// it started from.
bool MarkUnsettledCircular(EvalState& state, RecalcPasses& passes) {
  bool ok = true;
  for (size_t i = 0; i < passes.changedAreas.Count(); ++i) {
    const SpillExtent& place = passes.changedAreas.Items()[i];
    bool layoutChanged = false;
    if (!StoreFormulaError(state, *place.store, nullptr, place.column, place.row, kErrorCirc, false, &layoutChanged) ||
        !passes.circularAreas.Push(place))
      ok = false;
  }
  return ok;
}

}  // namespace

bool RecalcWorkbook(EvalState& state, CellStore* store, CWorkBook& workbook) {
  CellStore* const evaluatedSheet = state.sheet;
  CWorkBook* const owner = state.owner;
  bool ok = true;
  // A result spilled where the pass knew no area was missed by the formulas
  // calculated before it, and one that left an area the pass knew may have
  // made them wait for it in vain (even as a cycle), so the pass runs again
  // with the areas as they now stand. Results sized by other results may
  // need a few passes to settle; those that do not are circular, and one
  // more pass calculates what reads them.
  RecalcPasses passes;
  state.BeginRecalculation();
  for (uint32_t pass = 0; pass <= kMaxSpillSettlingPasses && ok; ++pass) {
    if (pass == kMaxSpillSettlingPasses && !MarkUnsettledCircular(state, passes))
      ok = false;
    passes.changedAreas.Resize(0);
    passes.pass = pass;
    GrowingList<SpillExtent> spillAreas;
    // Without the list values spilled late in the pass are read one pass late.
    if (!PreparePass(workbook, spillAreas))
      ok = false;
    KeepCircularAreas(passes);
    OrderSpillExtents(spillAreas.Items(), static_cast<uint32_t>(spillAreas.Count()), &state.spillFirstColumn,
                      &state.spillLastColumn);
    state.spillAreas = spillAreas.Items();
    state.spillAreaCount = static_cast<uint32_t>(spillAreas.Count());
    state.spillAreaHint = 0;
    state.spillAreasChanged = 0;
    if (store) {
      if (!RecalcSheet(state, *store, workbook, passes))
        ok = false;
    } else {
      for (CWorkBook::CTreeItem* item = workbook.firstItem; item; item = item->next)
        if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
          if (!RecalcSheet(state, sheet->cells, workbook, passes))
            ok = false;
    }
    for (CWorkBook::CTreeItem* item = workbook.firstItem; item; item = item->next)
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
        sheet->cells.ClearPageIndex(false);
    state.spillAreas = nullptr;
    state.spillAreaCount = 0;
    if (!state.spillAreasChanged)
      break;
  }
  state.EndRecalculation();
  state.sheet = evaluatedSheet;
  state.owner = owner;
  return ok;
}

bool CWorkBook::Recalculate(CellStore* store) {
  bool ok = true;
  if (!RecalcWorkbook(evaluator, store, *this)) {
    error = kWorkbookOutOfMemory;
    ok = false;
  }
  // A chart whose data cannot be read keeps that in its own error byte and
  // shows it where it is drawn; only memory running out fails the pass.
  const uint8_t before = error;
  if (!RefreshAllContainers() && (error == kWorkbookOutOfMemory || error == kWorkbookChartOutOfMemory))
    ok = false;
  else if (ok)
    error = before;
  return ok;
}

bool CWorkBook::RecalculateForMode(bool byCommand) {
  const uint8_t mode = UpdateMode(recalcMode);
  const bool manual = mode == kUpdateManual || mode == kUpdateManualActiveSheet;
  if (manual && !byCommand)
    return true;
  const bool activeOnly = mode == kUpdateAutomaticActiveSheet || mode == kUpdateManualActiveSheet;
  if (activeOnly && !activeWorksheet)
    return true;
  return Recalculate(activeOnly ? &activeWorksheet->cells : nullptr);
}
