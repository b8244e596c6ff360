#include <cstdlib>
#include <cstring>

#include "core/numfmt/double_to_text.h"
#include "core/base/error_code.h"
#include "core/base/result_check.h"
#include "core/base/text_compare.h"
#include "functions/aggregate_cells.h"
#include "functions/fn_sums.h"
#include "functions/plain_text_cell.h"
#include "functions/row_cell_args.h"
#include "functions/short_decimal.h"
#include "functions/wildcard_match.h"

namespace {

enum class CriterionOp { kEqual, kNotEqual, kLess, kLessEqual, kGreater, kGreaterEqual };

// The condition of COUNTIF and SUMIF. The operand holds only its own bytes
// and terminator: clearing all of it per call would cost more than a match.
struct Criterion {
  CriterionOp op = CriterionOp::kEqual;
  double number = 0;
  size_t operandLength = 0;
  uint32_t error = kErrorNone;
  // Whether a number below, equal to or above the operand's number meets
  // the criterion, settled once for every number compared.
  bool numberMeets[3] = {false, false, false};
  WholeTextShape pattern;  // of the operand
  char operand[EvalState::kJoinedTextCapacity + 1];
  Criterion() { operand[0] = '\0'; }
};

// The decimal number at the start of text (blanks, a sign, digits with "."
// as the decimal point, an exponent), ignoring whatever follows; 0 when the
// text does not begin with one.
double LeadingNumber(const char* text) {
  const char* p = text;
  while (*p == ' ') ++p;
  const char* start = p;
  if (*p == '+' || *p == '-') ++p;
  const char* digits = p;
  while (*p >= '0' && *p <= '9') ++p;
  if (*p == '.') {
    ++p;
    while (*p >= '0' && *p <= '9') ++p;
  }
  if (p == digits || (p == digits + 1 && *digits == '.'))
    return 0;
  if (*p == 'e' || *p == 'E') {
    const char* exponent = p + 1;
    if (*exponent == '+' || *exponent == '-') ++exponent;
    if (*exponent >= '0' && *exponent <= '9') {
      p = exponent;
      while (*p >= '0' && *p <= '9') ++p;
    }
  }
  double value = 0;
  if (ReadShortDecimal(start, p, &value)) return value;
  char buffer[64];
  const size_t length = static_cast<size_t>(p - start);
  if (length >= sizeof buffer)
    return 0;
  std::memcpy(buffer, start, length);
  buffer[length] = '\0';
  // Only the characters checked above reach strtod, so it reads no "inf",
  // "nan" or hexadecimal form.
  return std::strtod(buffer, nullptr);
}

void SetOperand(Criterion* criterion, const char* text) {
  size_t length = std::strlen(text);
  if (length > EvalState::kJoinedTextCapacity)
    length = EvalState::kJoinedTextCapacity;
  std::memcpy(criterion->operand, text, length);
  criterion->operand[length] = '\0';
  criterion->operandLength = length;
}

bool Compare(CriterionOp op, int order) {
  switch (op) {
    case CriterionOp::kEqual:
      return order == 0;
    case CriterionOp::kNotEqual:
      return order != 0;
    case CriterionOp::kLess:
      return order < 0;
    case CriterionOp::kLessEqual:
      return order <= 0;
    case CriterionOp::kGreater:
      return order > 0;
    case CriterionOp::kGreaterEqual:
      return order >= 0;
  }
  return false;
}

// The operator at the start of a text criterion, the operand after it.
void ReadTextCriterion(const char* text, Criterion* criterion) {
  // Two-character operators before their first character alone.
  if (text[0] == '>') {
    criterion->op = text[1] == '=' ? CriterionOp::kGreaterEqual : CriterionOp::kGreater;
    text += text[1] == '=' ? 2 : 1;
  } else if (text[0] == '<') {
    criterion->op = text[1] == '=' ? CriterionOp::kLessEqual
                                   : (text[1] == '>' ? CriterionOp::kNotEqual : CriterionOp::kLess);
    text += text[1] == '=' || text[1] == '>' ? 2 : 1;
  } else if (text[0] == '=') {
    criterion->op = CriterionOp::kEqual;
    text += 1;
  }
  SetOperand(criterion, text);
  criterion->number = LeadingNumber(criterion->operand);
}

// The parts of a criterion that follow from its operator, operand and error.
void SettleCriterion(Criterion* criterion) {
  // Only equality compares texts by pattern.
  if (criterion->op == CriterionOp::kEqual || criterion->op == CriterionOp::kNotEqual)
    criterion->pattern.Settle(criterion->operand);
  // Which of below, equal and above meets each operator, in its order; a
  // criterion carrying an error meets no number.
  static constexpr bool kMeets[6][3] = {{false, true, false}, {true, false, true}, {true, false, false},
                                        {true, true, false},  {false, false, true}, {false, true, true}};
  const bool usable = criterion->error == kErrorNone;
  for (int i = 0; i < 3; ++i) criterion->numberMeets[i] = usable && kMeets[static_cast<int>(criterion->op)][i];
}

// Short text criteria read before, each kept with its text: a formula's
// constant criterion comes back at every call, and a column filled with
// one formula asks it once per row. A handler reads its criterion where it
// is kept: matching cells evaluates nothing, so no other criterion is read
// meanwhile. The evaluator owns them (see HandlerCaches).
struct KeptCriterion {
  static constexpr size_t kTextBytes = 24;
  size_t textLength = kTextBytes;  // none kept while not below kTextBytes
  char text[kTextBytes];
  Criterion criterion;
};
struct KeptCriteria {
  static constexpr uint32_t kCount = 4;
  KeptCriterion kept[kCount];
  uint32_t next = 0;
};

// The criterion kept for the text (length bytes, NULs and all); null when
// none is.
const Criterion* FindKeptCriterion(const KeptCriteria& criteria, const char* text, size_t length) {
  for (const KeptCriterion& kept : criteria.kept) {
    if (kept.textLength != length) continue;
    size_t i = 0;
    while (i < length && kept.text[i] == text[i]) ++i;
    if (i == length) return &kept.criterion;
  }
  return nullptr;
}

// A fresh criterion for the text, kept when it is short; else scratch.
Criterion* NewCriterion(KeptCriteria& criteria, const char* text, size_t length, Criterion& scratch) {
  if (length >= KeptCriterion::kTextBytes) return &scratch;
  KeptCriterion& kept = criteria.kept[criteria.next];
  criteria.next = (criteria.next + 1) % KeptCriteria::kCount;
  kept.textLength = length;
  std::memcpy(kept.text, text, length);
  return &kept.criterion;
}

void ClearCriterion(Criterion* criterion) {
  criterion->op = CriterionOp::kEqual;
  criterion->number = 0;
  criterion->operandLength = 0;
  criterion->error = kErrorNone;
  criterion->operand[0] = '\0';
}

// Reads the criterion from its slot, into scratch unless it is kept; the
// slot owns nothing afterwards.
const Criterion& ReadCriterion(EvalState& state, uint16_t slot, Criterion& scratch) {
  state.ResolveOperand(slot);
  EvalValue& value = state.operands[slot];
  if (value.kind == kEvalText && value.error == kErrorNone) {
    // The criterion is most often the last argument, right below the call,
    // or the only text of the formula.
    const uint16_t depth =
        slot + 1u == state.operandTop || state.strings.Count() == 1 ? 0 : state.OwnersAbove(slot, kEvalText);
    const char* text = state.strings.FromTop(depth);
    const size_t length = state.strings.LengthFromTop(depth);
    KeptCriteria* kept = state.handlerCaches.Get<KeptCriteria>(kCriteriaCache);
    const Criterion* criterion = kept ? FindKeptCriterion(*kept, text, length) : nullptr;
    if (!criterion) {
      Criterion* fresh = kept ? NewCriterion(*kept, text, length, scratch) : &scratch;
      ClearCriterion(fresh);
      ReadTextCriterion(text, fresh);
      SettleCriterion(fresh);
      criterion = fresh;
    }
    // The top string, the common case, leaves the pool by a pop.
    if (depth != 0 || state.strings.Count() == 0) {
      state.DisownSlot(slot);
    } else {
      state.strings.Pop();
      value.kind = kEvalEmpty;
      value.number = 0;
    }
    return *criterion;
  }
  Criterion* criterion = &scratch;
  ClearCriterion(criterion);
  criterion->error = value.error;
  if (value.kind == kEvalNumber) {
    criterion->number = value.number;
    char text[64];
    DoubleToText(value.number, text, sizeof text, nullptr);
    SetOperand(criterion, text);
  } else if (value.kind == kEvalText) {
    ReadTextCriterion(state.SlotText(slot), criterion);
  }
  SettleCriterion(criterion);
  state.DisownSlot(slot);
  return *criterion;
}

// Whether a number without error meets the criterion.
inline bool NumberMatches(double x, const Criterion& criterion) {
  const double n = criterion.number;
  return criterion.numberMeets[x < n ? 0 : (x > n ? 2 : 1)];
}

// Whether a text without error meets the criterion.
bool TextMatches(const char* text, size_t length, const Criterion& criterion) {
  if (criterion.error != kErrorNone) return false;
  if (criterion.op == CriterionOp::kEqual || criterion.op == CriterionOp::kNotEqual) {
    // Not equal is the pattern not matching.
    return criterion.pattern.Matches(criterion.operand, text, length) == (criterion.op == CriterionOp::kEqual);
  }
  const int order = CompareTextIgnoringCase(text, length, criterion.operand, criterion.operandLength);
  return Compare(criterion.op, order);
}

// Whether a value meets the criterion.
bool Matches(const CellValueView& value, const Criterion& criterion) {
  if (value.error != kErrorNone) return value.error == criterion.error;
  if (value.kind == kEvalText) return TextMatches(value.text, value.length, criterion);
  if (criterion.error != kErrorNone) return false;
  if (value.kind == kEvalNumber) return NumberMatches(value.number, criterion);
  return false;
}

// Matches for a cell: a plain number, the common case, is compared without
// viewing the cell's value.
inline bool CellMatches(EvalState& state, const ArgRange& range, const CellRecord* cell, const Criterion& criterion) {
  double x = 0;
  if (ReadPlainNumber(state, range, cell, &x)) return NumberMatches(x, criterion);
  const char* text = nullptr;
  size_t length = 0;
  if (ReadPlainTextCell(state, cell, &text, &length)) return TextMatches(text, length, criterion);
  return Matches(state.ViewCell(cell, range.sheet), criterion);
}

// Whether two ranges are single columns of the same rows of one worksheet
// whose row index answers for them.
bool SameRowsOfOneColumn(const ArgRange& a, const ArgRange& b) {
  return a.sheet && a.sheet == b.sheet && a.firstColumn == a.lastColumn && b.firstColumn == b.lastColumn &&
         a.firstRow == b.firstRow && a.lastRow == b.lastRow && RowsIndexed(a.sheet, a.firstRow, a.lastRow);
}

}  // namespace

namespace {

// COUNTIF's reading, inside its caller's walk. Out of line: the walk's scope
// object would cost the loop its registers.
[[gnu::noinline]] void CountMatches(EvalState& state) {
  const uint16_t first = FirstArg(state);
  Criterion scratch;
  const Criterion& criterion = ReadCriterion(state, static_cast<uint16_t>(first + 1), scratch);
  ArgRange range;
  bool byRows = false;
  const uint32_t error = TakeColumnOrRange(state, first, &range, &byRows);
  double count = 0;
  if (error == kErrorNone) {
    RangeCells cells(state, range, byRows);
    while (const CellRecord* cell = cells.Next())
      if (CellMatches(state, range, cell, criterion))
        ++count;
  }
  ReleaseArgRange(state, range);
  SetNumberResult(state, count, error);
}

}  // namespace

void FnCountIf(EvalState& state) {
  if (!RequireArgs(state, 2))
    return;
  IgnoreArgsBeyond(state, 2);
  // The criterion, then every cell of the range, whatever the values.
  PendingGather::WalkScope walk(state.pendingGather);
  CountMatches(state);
}

namespace {

// What a pair read while gathering is open adds to SUMIF's budget (see
// PendingGather::StartBudget): the total when the walk first notes one,
// then the sum value, which stands for the pass, or the cell not yet
// calculated that will hold it (read as x, or as no number). Out of line:
// only a walk that gathers comes here.
[[gnu::noinline]] void NoteSumTerm(PendingGather& gather, double total, const CellRecord* sumCell, double x) {
  gather.NoteStartOfTerms(total);
  if (!sumCell || !sumCell->IsFormula() || (sumCell->ResultFlags() & kResultCalculated))
    gather.AddTerm(x);
  else if (!gather.SetTermOfRecent(sumCell, PendingGather::kTermOwn))
    gather.Untame();
}

// SUMIF's walk over its pairs, inside its caller's walk; the sum range
// taken, the search range not yet. Out of line: the walk's scope object
// would cost the loop its registers.
[[gnu::noinline]] void SumMatches(EvalState& state, uint16_t first, const Criterion& criterion, bool ownSum,
                                  bool sheetRanges, uint32_t error, ArgRange& sum) {
  ArgRange search;
  bool rowPairs = false;
  bool listed = false;
  if (sheetRanges && TakeSheetRange(state, first, &search)) {
    // Long columns the pass keeps listed, the common pair of a summary, are
    // read on their lists; other columns of the same rows along the rows.
    // Both ranges turn to their lists where the pass keeps them.
    const bool searchListed = UseListedColumn(state, search);
    const bool sumListed = UseListedColumn(state, sum);
    listed = searchListed && sumListed && search.firstRow == sum.firstRow && search.lastRow == sum.lastRow;
    rowPairs = !listed && SameRowsOfOneColumn(search, sum);
    if (!rowPairs) {
      RestartArgRange(sum);
      RestartArgRange(search);
    }
  } else {
    if (sheetRanges) RestartArgRange(sum);
    error = LargerErrorOf(error, GetRequiredArgRange(state, first, &search));
  }

  double total = 0;
  // Whether the cells read are being gathered, looked at again only after
  // a cell that may be pending was read: while it is, the walk keeps a
  // budget of its terms (see PendingGather::StartBudget), each sum value
  // noted as it is read (whether it joins the total or not), so that where
  // the walk stops is judged by the values calculated anew, whatever their
  // sizes.
  PendingGather& gather = state.pendingGather;
  gather.StartBudget();
  bool gathering = gather.Open();
  // Adds the sum cell of a pair whose search cell meets the criterion;
  // false once the total is no longer a number.
  auto add = [&](const CellRecord* searchCell, const CellRecord* sumCell, ArgRange& sums) {
    double x = 0;
    size_t length = 0;
    // Whether the search cell is read depends on the sum cell's value, stale
    // while it is not calculated: a gathered search cell is taken only when
    // its sum cell, calculated by then, reads as a number.
    bool sumStale = false;
    if (sumCell && sumCell->Type() == kCellNumber && !IsBadNumber(sumCell->Number())) {
      // A number cell, as a rule: never pending.
      x = sumCell->Number();
    } else if (sumCell && sumCell->IsFormula() && !(sumCell->ResultFlags() & kResultCalculated)) {
      // The one kind of cell that may be gathered here, and open the gathering.
      sumStale = sumCell != searchCell;
      gather.SetNoteFlags(PendingGather::kTameValue);
      const bool number = ReadCellNumberInPlace(state, first, sums, sumCell, &x) == kErrorNone;
      gather.SetNoteFlags(0);
      gathering = gather.Open();
      if (!number) {
        if (gathering) NoteSumTerm(gather, total, sumCell, 0.0);
        if (sumStale && searchCell && gathering) {
          gather.SetNoteFlags(PendingGather::kGuardedByPrevious);
          NotePendingCell(state, search, searchCell);
          gather.SetNoteFlags(0);
        }
        return true;
      }
    } else if (sumCell && ReadCellNumberInPlace(state, first, sums, sumCell, &x) != kErrorNone) {
      return true;
    }
    if (sumStale) gather.SetNoteFlags(PendingGather::kGuardedByPrevious);
    // An absent search cell reads as the number 0.
    bool matches = false;
    if (!searchCell) {
      matches = NumberMatches(0.0, criterion);
    } else if (double y = 0; searchCell->Type() == kCellNumber && !IsBadNumber(y = searchCell->Number())) {
      matches = NumberMatches(y, criterion);
    } else {
      if (double z = 0; ReadPlainNumber(state, search, searchCell, &z)) {
        matches = NumberMatches(z, criterion);
      } else if (const char* text = nullptr; ReadPlainTextCell(state, searchCell, &text, &length)) {
        matches = TextMatches(text, length, criterion);
      } else {
        const CellValueView value = state.ViewCell(searchCell, search.sheet);
        matches = value.error == kErrorNone && Matches(value, criterion);
      }
      // A search cell not yet calculated may have opened the gathering.
      gathering = gather.Open();
    }
    if (sumStale) gather.SetNoteFlags(0);
    // The sum value, read before a search cell that may have opened the
    // gathering, joins the total or not as that cell decides.
    if (gathering) NoteSumTerm(gather, total, sumCell, x);
    if (!matches)
      return true;
    total += x;
    if (IsBadNumber(total)) {
      error = kErrorNum;
      return false;
    }
    return true;
  };
  if (error == kErrorNone && listed) {
    ListedColumnPairs pairs(search, sum);
    const CellRecord* searchCell;
    const CellRecord* sumCell;
    while (pairs.Next(&searchCell, &sumCell))
      if (!add(searchCell, sumCell, sum)) break;
  } else if (error == kErrorNone && rowPairs) {
    // Two columns of the same rows: both cells of a row in one pass along it.
    const bool sumFirst = sum.firstColumn < search.firstColumn;
    const uint32_t a = sumFirst ? sum.firstColumn : search.firstColumn;
    const uint32_t b = sumFirst ? search.firstColumn : sum.firstColumn;
    for (uint32_t row = search.firstRow; row <= search.lastRow; ++row) {
      const CellRecord* atA;
      const CellRecord* atB;
      RowCellPair(*search.sheet, row, a, b, &atA, &atB);
      const CellRecord* searchCell = sumFirst ? atB : atA;
      const CellRecord* sumCell = sumFirst ? atA : atB;
      if ((searchCell || sumCell) && !add(searchCell, sumCell, sum)) break;
    }
  } else if (error == kErrorNone) {
    ArgRange empty = ArgRange{};
    // Without a sum argument each search cell is its own partner.
    ArgRange& sums = ownSum ? sum : search;
    // A walk over one argument with itself would advance it twice.
    PairedWalk walk(search, ownSum ? sum : empty);
    const CellRecord* searchCell;
    const CellRecord* sumCell;
    while (walk.Next(&searchCell, &sumCell))
      if (!add(searchCell, ownSum ? sumCell : searchCell, sums)) break;
  }
  if (ownSum)
    ReleaseArgRange(state, sum);
  ReleaseArgRange(state, search);
  SetNumberResult(state, total, error);
}

}  // namespace

void FnSumIf(EvalState& state) {
  if (!RequireArgs(state, 3))
    return;
  IgnoreArgsBeyond(state, 3);
  const uint16_t first = FirstArg(state);
  const uint16_t criterionSlot = static_cast<uint16_t>(first + 1);
  const uint16_t sumSlot = static_cast<uint16_t>(first + 2);
  const bool ownSum = !IsOmittedArg(state.operands[sumSlot]);
  uint32_t error = kErrorNone;
  ArgRange sum;
  // Two worksheet ranges are taken with their walks left unpositioned: the
  // common pair, two columns of the same rows, is read along the rows.
  const bool sheetRanges = ownSum && state.operands[sumSlot].kind == kEvalRange &&
                           state.operands[first].kind == kEvalRange && TakeSheetRange(state, sumSlot, &sum);
  if (!sheetRanges && ownSum)
    error = GetRequiredArgRange(state, sumSlot, &sum);
  Criterion scratch;
  const Criterion& criterion = ReadCriterion(state, criterionSlot, scratch);
  error = LargerErrorOf(error, criterion.error);
  // Every pair is read; a search cell only when its sum cell reads as a
  // number, and the walk stops at a bad total (see add). The criterion,
  // read before, decides whether the walk is made at all. Its values join
  // the total alone.
  PendingGather::WalkScope pairsWalk(state.pendingGather, 0, true, 1);
  SumMatches(state, first, criterion, ownSum, sheetRanges, error, sum);
}
