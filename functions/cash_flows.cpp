#include "functions/cash_flows.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "core/base/error_code.h"
#include "core/eval/read_plain_cell.h"
#include "core/numfmt/date_time.h"
#include "functions/aggregate_cells.h"
#include "functions/plain_text_cell.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;

// Moves the first count values to a heap buffer of the given capacity
// (from the inline one or a smaller heap one).
bool GrowBuffer(double** buffer, const double* inlineBuffer, uint32_t count, uint32_t capacity) {
  const bool onHeap = *buffer != inlineBuffer;
  void* grown = std::realloc(onHeap ? *buffer : nullptr, sizeof(double) * capacity);
  if (!grown) return false;
  if (!onHeap) std::memcpy(grown, inlineBuffer, sizeof(double) * count);
  *buffer = static_cast<double*>(grown);
  return true;
}

// The magnitudes of the flows before the change of sign and after it: the
// later fall short of the earlier by more than rounding could make up.
bool KeepsSignWithSums(double earlier, double later) {
  // Far above the rounding of any sum of as many discounted flows as a
  // worksheet holds.
  constexpr double kMargin = 1e-6;
  return std::isfinite(earlier) && later < earlier * (1 - kMargin);
}

}  // namespace

CashFlows::~CashFlows() {
  if (amounts != inlineAmounts_) std::free(amounts);
  if (days != inlineDays_) std::free(days);
}

bool CashFlows::Grow() {
  const uint32_t grown = capacity > 0x7FFFFFFFu / 2 ? 0u : capacity * 2;
  if (grown == 0 || !GrowBuffer(&amounts, inlineAmounts_, count, grown) ||
      !GrowBuffer(&days, inlineDays_, count, grown))
    return false;
  capacity = grown;
  return true;
}

bool CashFlows::ChangesSign() const {
  bool below = false;
  bool above = false;
  for (uint32_t i = 0; i < count; ++i) {
    below = below || amounts[i] < 0;
    above = above || amounts[i] > 0;
  }
  return below && above;
}

bool CashFlows::KeepSignAboveZeroRate() const {
  double earlier = 0;
  double later = 0;
  int sign = 0;
  int changes = 0;
  for (uint32_t i = 0; i < count; ++i) {
    const double amount = amounts[i];
    if (!std::isfinite(amount)) return false;
    if (amount == 0) continue;
    const int amountSign = amount < 0 ? -1 : 1;
    if (sign != 0 && amountSign != sign) ++changes;
    sign = amountSign;
    (changes == 0 ? earlier : later) += std::fabs(amount);
  }
  return changes == 1 && KeepsSignWithSums(earlier, later);
}

bool OneRootValuation(const CashFlows& flows, uint32_t maxCount, double* margin, int* signBelowRoot) {
  if (flows.count > maxCount) return false;
  double magnitudes = 0;
  int sign = 0;
  int changes = 0;
  for (uint32_t i = 0; i < flows.count; ++i) {
    const double amount = flows.amounts[i];
    if (amount == 0) continue;
    const double magnitude = std::fabs(amount);
    if (!(magnitude >= 1e-150 && magnitude <= 1e150)) return false;
    const int amountSign = amount < 0 ? -1 : 1;
    if (sign != 0 && amountSign != sign) ++changes;
    sign = amountSign;
    magnitudes += magnitude;
  }
  *margin = 1e-12 * magnitudes;
  *signBelowRoot = sign;
  return changes == 1;
}

FlowSurvey SurveyFlows(const CashFlows& flows, uint32_t maxOneRootCount) {
  // The sums and counts of the three, taken side by side: every flow that
  // is neither 0 nor NaN adds its magnitude to the same sums in the same
  // order; a flow that is not finite fails the second and the third.
  bool below = false;
  bool above = false;
  bool finite = true;
  bool bounded = flows.count <= maxOneRootCount;
  double earlier = 0;
  double later = 0;
  double magnitudes = 0;
  int sign = 0;
  int changes = 0;
  for (uint32_t i = 0; i < flows.count; ++i) {
    const double amount = flows.amounts[i];
    int amountSign = 0;
    if (amount < 0) {
      below = true;
      amountSign = -1;
    } else if (amount > 0) {
      above = true;
      amountSign = 1;
    } else if (amount == 0) {
      continue;
    } else {
      finite = false;
      bounded = false;
      continue;
    }
    const double magnitude = std::fabs(amount);
    if (!std::isfinite(magnitude)) finite = false;
    if (!(magnitude >= 1e-150 && magnitude <= 1e150)) bounded = false;
    if (sign != 0 && amountSign != sign) ++changes;
    sign = amountSign;
    (changes == 0 ? earlier : later) += magnitude;
    magnitudes += magnitude;
  }
  FlowSurvey survey{};
  survey.changesSign = below && above;
  survey.keepsSignAboveZeroRate = finite && changes == 1 && KeepsSignWithSums(earlier, later);
  survey.oneRoot = bounded && changes == 1;
  if (survey.oneRoot) {
    survey.margin = 1e-12 * magnitudes;
    survey.signBelowRoot = sign;
  }
  return survey;
}

uint8_t ReadFlowCells(EvalState& state, uint16_t slot, ArgRange& range, CashFlows* out) {
  // The walk goes on past numbers and stops at anything else.
  PendingGather& gather = state.pendingGather;
  PendingGather::WalkScope walk(gather, PendingGather::kPlainValue);
  uint8_t error = kErrorNone;
  while (const CellRecord* cell = NextArgCell(range)) {
    double x = 0;
    error = ReadCellNumberInPlace(state, slot, range, cell, &x);
    if (error != kErrorNone) break;
    if (!out->Append(x)) {
      error = kErrorMemory;
      break;
    }
  }
  return error;
}

static_assert(std::is_trivially_destructible<ArgRange>::value, "argument ranges are never destroyed");

namespace {

// The cells of a range or array argument, an error cell not stopping the
// walk: the largest such error, the other readable cells taken.
uint32_t ReadListRange(EvalState& state, uint16_t slot, ArgRange& range, CashFlows* out) {
  uint32_t rangeError = kErrorNone;
  PendingGather::WalkScope walk(state.pendingGather);
  while (const CellRecord* cell = NextArgCell(range)) {
    double x = 0;
    const uint8_t cellError = ReadCellNumberInPlace(state, slot, range, cell, &x);
    if (cellError != kErrorNone) {
      rangeError = LargerErrorOf(rangeError, cellError);
    } else if (!out->Append(x)) {
      rangeError = kErrorMemory;
      break;
    }
  }
  return rangeError;
}

}  // namespace

uint8_t ReadValueList(EvalState& state, uint16_t first, uint16_t count, CashFlows* out) {
  // A list of one range, as most are, needs no room for others.
  if (count == 1 && IsRangeOrArray(state.operands[first])) {
    ArgRange range;
    uint32_t error = GetArgRange(state, first, &range);
    if (error == kErrorNone) error = ReadListRange(state, first, range, out);
    ReleaseArgRange(state, range);
    return static_cast<uint8_t>(error);
  }
  // Only the positions of ranges are used: constructing every possible
  // one would cost more than a short call's reading.
  alignas(ArgRange) unsigned char rangeBytes[EvalState::kStackSlots * sizeof(ArgRange)];
  ArgRange* const ranges = reinterpret_cast<ArgRange*>(rangeBytes);
  double numbers[EvalState::kStackSlots];
  bool isRange[EvalState::kStackSlots];
  uint32_t error = kErrorNone;
  for (uint16_t i = count; i-- > 0;) {
    const uint16_t slot = static_cast<uint16_t>(first + i);
    numbers[i] = 0.0;
    isRange[i] = IsRangeOrArray(state.operands[slot]);
    if (isRange[i])
      error = LargerErrorOf(error, GetArgRange(state, slot, new (ranges + i) ArgRange()));
    else
      error = LargerErrorOf(error, GetArgNumber(state, slot, &numbers[i], -kLargestNumber, kLargestNumber));
  }
  for (uint16_t i = 0; i < count && error == kErrorNone; ++i) {
    if (!isRange[i]) {
      if (!out->Append(numbers[i])) error = kErrorMemory;
      continue;
    }
    error = ReadListRange(state, static_cast<uint16_t>(first + i), ranges[i], out);
  }
  for (uint16_t i = count; i-- > 0;)
    if (isRange[i]) ReleaseArgRange(state, ranges[i]);
  return static_cast<uint8_t>(error);
}

namespace {

// One-column flows and dates are looked up row by row up to this many rows:
// walked in storage order, each step would pass the rest of a row.
constexpr uint32_t kLookedUpDatedRows = 64;

bool IsShortColumn(const EvalValue& value) {
  return value.kind == kEvalRange && value.error == kErrorNone && value.sheet &&
         value.first.column == value.second.column && value.second.row - value.first.row < kLookedUpDatedRows;
}

// ReadDatedFlows for two short one-column ranges of worksheets whose rows
// each hold both a flow that is a plain number and a date that is a plain
// text cell in the form dates are written in, or neither: the pairs the
// walks below would meet, read and noted as they read them. False for any
// other arguments, which the walks then read from the start.
bool ReadDatedColumns(EvalState& state, const EvalValue& flows, const EvalValue& dates, CashFlows* out) {
  if (!IsShortColumn(flows) || !IsShortColumn(dates) ||
      flows.second.row - flows.first.row != dates.second.row - dates.first.row)
    return false;
  state.NoteSpillAreaMeeting(dates.sheet, dates.first.column, dates.first.column, dates.first.row,
                             dates.second.row);
  state.NoteSpillAreaMeeting(flows.sheet, flows.first.column, flows.first.column, flows.first.row,
                             flows.second.row);
  bool started = false;
  int64_t start = 0;
  for (uint32_t i = 0; i <= flows.second.row - flows.first.row; ++i) {
    const CellRecord* flow = nullptr;
    const CellRecord* date = nullptr;
    if (!state.FindGridCell(*flows.sheet, RefCorner{flows.first.column, flows.first.row + i, kRefCell}, &flow) ||
        !state.FindGridCell(*dates.sheet, RefCorner{dates.first.column, dates.first.row + i, kRefCell}, &date))
      return false;
    if (!flow && !date) continue;
    const char* text = nullptr;
    size_t length = 0;
    PlainDate day;
    double amount = 0;
    if (!flow || !date || !ReadPlainTextCell(state, date, &text, &length) || !ReadPlainIsoDay(text, length, &day) ||
        !PlainCellNumber(flow, &amount))
      return false;
    if (flow->IsFormula() || flow->IsSpillValue()) state.NotePending(flow, flows.sheet);
    const int64_t seconds = (PlainDayNumber(day) - 1) * 86400;
    if (!started) {
      start = seconds;
      started = true;
    }
    if (!out->Append(amount, double(seconds - start) / kSecondsPerDay)) return false;
  }
  return true;
}

}  // namespace

uint8_t ReadDatedFlows(EvalState& state, uint16_t flowsSlot, uint16_t datesSlot, CashFlows* out) {
  if (ReadDatedColumns(state, state.operands[flowsSlot], state.operands[datesSlot], out)) return kErrorNone;
  out->count = 0;
  ArgRange flows;
  ArgRange dates;
  uint32_t error = GetRequiredArgRange(state, datesSlot, &dates);
  error = LargerErrorOf(error, GetRequiredArgRange(state, flowsSlot, &flows));
  if (error == kErrorNone && (flows.lastColumn - flows.firstColumn != dates.lastColumn - dates.firstColumn ||
                              flows.lastRow - flows.firstRow != dates.lastRow - dates.firstRow))
    error = kErrorValue;
  if (error == kErrorNone) {
    // Every pair is read, whatever the values: an error leaves its pair out
    // and the walk goes on; only the cells' places can end it.
    PendingGather::WalkScope walk(state.pendingGather);
    const CellRecord* flow = NextArgCell(flows);
    const CellRecord* date = NextArgCell(dates);
    bool started = false;
    int64_t start = 0;
    for (; flow && date; flow = NextArgCell(flows), date = NextArgCell(dates)) {
      if (CellKey(flows, flow) != CellKey(dates, date)) {
        error = kErrorValue;
        break;
      }
      // A plain text cell in the form dates are written in, nearly every
      // date, counts its seconds from its day alone, as a record would.
      const char* text = nullptr;
      size_t length = 0;
      PlainDate day;
      int64_t seconds = 0;
      uint32_t pairError = kErrorNone;
      if (ReadPlainTextCell(state, date, &text, &length) && ReadPlainIsoDay(text, length, &day)) {
        seconds = (PlainDayNumber(day) - 1) * 86400;
      } else {
        DateTime when{};
        pairError = ReadCellDate(state, dates, date, &when);
        seconds = when.ToSeconds();
      }
      double amount = 0;
      pairError = LargerErrorOf(pairError, ReadCellNumberInPlace(state, flowsSlot, flows, flow, &amount));
      if (pairError != kErrorNone) {
        error = LargerErrorOf(error, pairError);
        continue;
      }
      if (!started) {
        start = seconds;
        started = true;
      }
      if (!out->Append(amount, double(seconds - start) / kSecondsPerDay)) {
        error = kErrorMemory;
        break;
      }
    }
    // Dates after the last flow are harmless; a flow without a date is not.
    if (error == kErrorNone && flow) error = kErrorValue;
  }
  ReleaseArgRange(state, flows);
  ReleaseArgRange(state, dates);
  return static_cast<uint8_t>(error);
}
