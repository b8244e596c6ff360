#include "core/recalc/gathered_cells.h"

#include <cmath>
#include <cstring>

#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/formula/eval_state.h"

// Keeps what the cell's evaluation gathered after the cell it needs first
// (state.pending), for the cell to take in place of evaluations that would
// each find the next of them first; what is not kept leaves the list. The
// entries stay where the evaluator noted them, from the cell's base on.
void KeepGathered(EvalState& state, uint32_t kind, GatheredCells& gathered) {
  gathered.next = gathered.settled = gathered.end = gathered.base;
  gathered.diverged = kNotDiverged;
  gathered.resultKept = false;
  PendingGather& gather = state.pendingGather;
  const uint32_t first = gather.First();
  const uint32_t end = gather.End();
  const PendingGather::Entry* needed = end > first ? &gather.Entries()[first] : nullptr;
  if (first != gathered.base || end - first < 2 || gather.Forbidden() || gather.StoreOf(*needed) != state.pending.sheet ||
      needed->Column() != state.pending.cell.column || needed->Row() != state.pending.cell.row) {
    gather.Unmark(first, end);
    return;
  }
  gathered.settled = first;
  gathered.settledBits = 0;
  gathered.settledSizes = 0;
  gathered.next = first + 1;
  gathered.end = end;
  gathered.spillChanges = state.spillAreasChanged;
  if (kind == kEvalNumber && gather.Complete()) {
    const EvalValue& result = state.operands[1];
    gathered.resultKept = true;
    gathered.keptIsNumber = result.kind == kEvalNumber;
    gathered.keptError = static_cast<uint8_t>(result.error);
    gathered.keptNumber = result.number;
  }
}

// The kept result in the evaluator's result slot, as its evaluation left it.
uint32_t TakeKeptResult(EvalState& state, const GatheredCells& gathered) {
  EvalValue& result = state.operands[1];
  result.Clear();
  result.kind = gathered.keptIsNumber ? kEvalNumber : kEvalEmpty;
  result.number = gathered.keptNumber;
  result.error = gathered.keptError;
  state.operandTop = 1;
  return kEvalNumber;
}

namespace {

// The gathered cell's formula record, calculated by now.
const CellRecord* CalculatedFormula(const PendingGather& gather, const PendingGather::Entry& entry) {
  const CellRecord* cell = gather.RecordOf(entry);
  return cell && cell->IsFormula() && (cell->ResultFlags() & kResultCalculated) ? cell : nullptr;
}

// Whether the handler that gathered the cell reads it as a number without
// error; conservatively false for a text.
bool ReadsAsPlainNumber(const PendingGather& gather, const PendingGather::Entry& entry) {
  const CellRecord* cell = CalculatedFormula(gather, entry);
  return cell && PendingGather::IsPlainNumberCell(cell);
}

// Whether the cell's value leaves a running total as the handler keeps it
// a number: an error, which the handler skips, or a number tame for the
// walk's products. A cell whose walk keeps a budget of its terms is judged
// by the budget.
bool KeepsTotalsSound(const PendingGather& gather, const PendingGather::Entry& entry) {
  if (entry.Role() != PendingGather::kTermNone) return true;
  const CellRecord* cell = CalculatedFormula(gather, entry);
  if (!cell || cell->HasCachedText())
    return false;
  if (cell->ErrorCode() != 0) return true;
  return PendingGather::IsTame(cell->CachedNumber(), gather.FactorsOf(entry));
}

// The term the settled cell (at list place at) adds to its walk's budget,
// as its value now stands, added to those of the cells settled before it in
// its walk (the cell's running bits and sizes): a value that reads as no
// number adds none (the handler skips it), a text is not judged.
void AddSettledTerm(const PendingGather& gather, uint32_t at, GatheredCells& gathered, const CellRecord* record) {
  const PendingGather::Entry& entry = gather.Entries()[at];
  const bool start = (entry.flags & PendingGather::kWalkStart) || at == gathered.base;
  if (start) {
    gathered.settledBits = 0;
    gathered.settledSizes = 0.0;
  }
  const uint8_t role = entry.Role();
  if (role == PendingGather::kTermNone || role == PendingGather::kTermZero || role == PendingGather::kTermPairFirst)
    return;
  const bool calculated = record && record->IsFormula() && (record->ResultFlags() & kResultCalculated);
  if (!calculated || record->HasCachedText()) {
    gathered.settledBits |= PendingGather::kBrokenTerms;
    return;
  }
  const double x = record->ErrorCode() == 0 ? record->CachedNumber() : 0.0;
  double term = x;
  if (role == PendingGather::kTermPairSecond) {
    // The first of the pair, settled just before.
    const CellRecord* first = start ? nullptr : gather.RecordOf(gather.Entries()[at - 1]);
    if (!first || !first->IsFormula() || !(first->ResultFlags() & kResultCalculated) || first->HasCachedText()) {
      gathered.settledBits |= PendingGather::kBrokenTerms;
      return;
    }
    term = first->ErrorCode() == 0 ? first->CachedNumber() * x : 0.0;
  } else if (role == PendingGather::kTermBeside) {
    term = x * gather.PartnerAt(at);
  } else if (role == PendingGather::kTermSquare) {
    term = x * x;
  }
  gathered.settledBits |= PendingGather::TermBits(term);
  gathered.settledSizes += std::fabs(term);
}

// How far the list diverged at a gathered cell that did not keep the value
// its evaluation read: inside its walk, unless it was read outside every
// walk, by a walk that goes on only past plain numbers and this value or
// the one read is none, or by a search that stops at its new value.
uint8_t DivergedAt(const PendingGather& gather, const PendingGather::Entry& entry, const CellRecord* record) {
  if (entry.flags & PendingGather::kOutsideWalk)
    return kDiverged;
  const bool calculated = record && record->IsFormula() && (record->ResultFlags() & kResultCalculated);
  if ((entry.flags & PendingGather::kPlainValue) &&
      !((entry.flags & PendingGather::kListedPlain) && calculated && PendingGather::IsPlainNumberCell(record)))
    return kDiverged;
  if ((entry.flags & PendingGather::kSearched) &&
      (!calculated || (record->ResultFlags() & kResultArray) || gather.SearchStopsAt(entry, record)))
    return kDiverged;
  return kDivergedInWalk;
}

// Looks at the gathered cells before the cell's next, calculated by
// now: each that did not keep the value its evaluation read marks where
// the list diverged; their marks are cleared.
void SettleGathered(EvalState& state, GatheredCells& gathered) {
  const PendingGather& gather = state.pendingGather;
  const PendingGather::Entry* entries = gather.Entries();
  for (; gathered.settled < gathered.next; ++gathered.settled) {
    const PendingGather::Entry& entry = entries[gathered.settled];
    const CellRecord* record = gather.RecordOf(entry);
    if (entry.TermBits() & PendingGather::kBudgeted)
      AddSettledTerm(gather, gathered.settled, gathered, record);
    if (!record || !(record->Pending() & kPendingStood)) {
      const uint8_t diverged = DivergedAt(gather, entry, record);
      if (diverged > gathered.diverged)
        gathered.diverged = diverged;
    } else if (entry.EndsIfKept()) {
      gathered.diverged = kDiverged;
    }
    if (entry.flags & PendingGather::kMarked)
      gather.ClearMark(entry);
  }
}

}  // namespace

// The cell's list ends before its last entry: the cells it still marks are
// listed no more, and the cell is evaluated again.
void DropGathered(EvalState& state, GatheredCells& gathered) {
  state.pendingGather.Unmark(gathered.settled, gathered.end);
  gathered.next = gathered.settled = gathered.end;
  gathered.resultKept = false;
}

namespace {

// Whether evaluating the cell again would read what its evaluation read up
// to the gathered entry: every cell taken before it kept its value, or
// those that did not were read by the entry's own walk, which reads every
// cell whatever the values (and the value read before it cannot stop that
// walk, nor skip the entry). While no value changed, the values are the ones
// the walk read, whatever their sizes.
bool StillReadsUpTo(const PendingGather& gather, const GatheredCells& gathered) {
  const PendingGather::Entry& before = gather.Entries()[gathered.next - 1];
  const PendingGather::Entry& entry = gather.Entries()[gathered.next];
  if (gathered.diverged == kDiverged)
    return false;
  if (gathered.diverged == kDivergedInWalk &&
      (entry.flags & (PendingGather::kOutsideWalk | PendingGather::kWalkStart)))
    return false;
  if (gathered.diverged != kNotDiverged && (before.flags & PendingGather::kTameValue) && !KeepsTotalsSound(gather, before))
    return false;
  // The terms that reach the entry, those of the cells calculated before it
  // (all settled by now) as they now stand.
  if (gathered.diverged != kNotDiverged && (entry.TermBits() & PendingGather::kBudgeted) &&
      !PendingGather::TermsKeepTotalsSound(static_cast<uint8_t>(entry.TermBits() | gathered.settledBits),
                                           gather.FixedBeforeAt(gathered.next) + gathered.settledSizes))
    return false;
  return !(entry.flags & PendingGather::kGuardedByPrevious) || ReadsAsPlainNumber(gather, before);
}

}  // namespace

// The next gathered cell the top cell needs, noted as the pending cell: the
// first of its list still uncalculated, which evaluating the cell again
// would find first (see StillReadsUpTo). Null when the list is used up or
// can no longer say so (a result area changed, or a value calculated since
// changed what the evaluation reads): the cell is then evaluated again,
// unless its result is kept (resultKept still set).
CellRecord* TakeGathered(EvalState& state, GatheredCells& gathered) {
  if (gathered.settled >= gathered.end)
    return nullptr;
  SettleGathered(state, gathered);
  if (gathered.diverged != kNotDiverged)
    gathered.resultKept = false;
  if (state.spillAreasChanged != gathered.spillChanges) {
    DropGathered(state, gathered);
    return nullptr;
  }
  const PendingGather& gather = state.pendingGather;
  while (gathered.next < gathered.end) {
    const PendingGather::Entry& entry = gather.Entries()[gathered.next];
    if (!StillReadsUpTo(gather, gathered))
      break;
    ++gathered.next;
    CellRecord* cell = gather.RecordOf(entry);
    if (!cell || !cell->IsFormula() || (cell->ResultFlags() & kResultCalculated)) {
      SettleGathered(state, gathered);
      if (gathered.diverged != kNotDiverged)
        gathered.resultKept = false;
      continue;
    }
    state.SetPendingCell(gather.StoreOf(entry), entry.Column(), entry.Row());
    state.pendingGather.NoteTaken();
    return cell;
  }
  if (gathered.next == gathered.end && gathered.settled == gathered.end)
    return nullptr;
  DropGathered(state, gathered);
  return nullptr;
}

namespace {

// Whether the cell's result, about to be stored, is the value the cell held
// when it was listed (and still holds): the same kind, error, number bits
// or text, which is all a reader of the cell can see of it. An array result
// is never judged so.
bool ResultStands(const EvalState& state, uint32_t kind, const CellRecord* cell) {
  const uint8_t flags = cell->ResultFlags();
  if (flags & kResultArray)
    return false;
  const EvalValue& result = state.operands[1];
  const uint8_t error = static_cast<uint8_t>(result.error & kCellErrorMask);
  if (cell->Type() != static_cast<uint8_t>(kCellFormula | error))
    return false;
  if (kind == kEvalText && !error) {
    size_t length = state.SlotTextLength(1);
    if (length > 0xFFFF)
      length = 0xFFFF;
    return (flags & kResultCachedText) && cell->CachedTextLength() == length &&
           std::memcmp(cell->CachedText(), state.SlotText(1), length) == 0;
  }
  if (kind != kEvalNumber && kind != kEvalText)
    return false;
  // As the number is stored: an error holds nothing else.
  const double number = kind == kEvalNumber && result.kind == kEvalNumber && !error ? result.number : 0.0;
  const double cached = cell->CachedNumber();
  return !(flags & kResultCachedText) && std::memcmp(&number, &cached, sizeof number) == 0;
}

}  // namespace

// Notes on a listed cell whose result is about to be stored whether it
// keeps the value its readers read when it was listed.
void NoteStanding(const EvalState& state, uint32_t kind, CellRecord* cell) {
  if (ResultStands(state, kind, cell))
    cell->SetPending(static_cast<uint8_t>(cell->Pending() | kPendingStood));
}
