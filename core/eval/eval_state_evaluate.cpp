// The evaluation loop: an operator-precedence parse straight from the
// formula text, with operands and operators on two fixed stacks.

#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/builtin_function_table.h"
#include "core/formula/eval_state.h"
#include "core/formula/operator_precedence.h"
#include "core/formula/take_scanned_token.h"
#include "core/base/result_check.h"

namespace {

constexpr uint32_t kTokensWithoutSlot = kEvalOpenParen | kEvalCloseParen | kEvalEnd | kEvalListSeparator;

bool IsOperandToken(uint32_t kind) {
  return kind == kEvalNumber || kind == kEvalText || kind == kEvalCellRef || kind == kEvalArray ||
         kind == kEvalEmpty;
}

// A whole row or column read as a corner becomes the range it spans.
void WidenPartialCorner(EvalValue& token) {
  const RefCorner corner = token.cell;
  token.kind = kEvalRange;
  token.first = corner;
  token.second = corner;
  if (IsWholeRow(corner)) {
    token.first.column = 0;
    token.second.column = kMaxColumn;
  } else {
    token.first.row = 0;
    token.second.row = kMaxRow;
  }
}

// What every way of taking an operand does to it: a whole row or column
// read as a corner becomes the range it spans, and an error literal or a
// number out of range carries its error, not its value.
inline void SettleTakenOperand(uint32_t kind, EvalValue& slot) {
  if (kind == kEvalCellRef && !IsFullCell(slot.cell)) WidenPartialCorner(slot);
  if (kind == kEvalNumber && slot.error != kErrorNone) slot.number = 0;
}

// No number the result check refuses ever leaves the evaluator.
inline uint32_t SettleNumberResult(EvalValue& result) {
  if (IsBadNumber(result.number)) {
    result.number = 0;
    if (result.error < kErrorNum) result.error = kErrorNum;
  }
  return kEvalNumber;
}

}  // namespace

// EvaluateScanned with its commonest ways inline, for the formulas found
// kept: a constant and a formula that is one call (never numeric, so its
// test may come first). Whatever else it meets takes EvaluateScanned whole.
inline uint32_t EvalState::EvaluateKept(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow) {
  if (TakeConstant(scanned)) return kEvalNumber;
  if (scanned.oneCall && callShortcuts) return ReplayOneCall(scanned, ownColumn, ownRow);
  return EvaluateScanned(scanned, ownColumn, ownRow);
}

uint32_t EvalState::Evaluate(const char* text, uint32_t ownColumn, uint32_t ownRow) {
  ResetForFormula(ownColumn, ownRow);
  const ScannedFormula* scanned = text ? FindScanned(text, std::strlen(text), true) : nullptr;
  return scanned ? EvaluateScanned(*scanned, ownColumn, ownRow) : EvaluateText(text, ownColumn, ownRow);
}

uint32_t EvalState::Evaluate(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow) {
  // The formula filled down from the row above, with no array left from the
  // last one, takes a way on which every call ends this one: it pays for no
  // registers kept across calls.
  if (arrays.SavedCount() != 0 || arrays.ChainChanges() != arraysEmptiedAt || length > kFormulaTextCapacity)
    return EvaluateAnyText(text, length, ownColumn, ownRow);
  ResetForFormula(ownColumn, ownRow);
  const ScannedFormula* scanned = scannedFormulas.FindRecent(text, length, column);
  if (!scanned) return EvaluateNotRecent(text, length, ownColumn, ownRow);
  return EvaluateKept(*scanned, ownColumn, ownRow);
}

uint32_t EvalState::EvaluateAnyText(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow) {
  // Evaluate's own way, for any text: the shortcut above is this without
  // the length check.
  ResetForFormula(ownColumn, ownRow);
  if (length > kFormulaTextCapacity) return EvaluateText(nullptr, ownColumn, ownRow);
  if (const ScannedFormula* scanned = scannedFormulas.FindRecent(text, length, column))
    return EvaluateKept(*scanned, ownColumn, ownRow);
  return EvaluateNotRecent(text, length, ownColumn, ownRow);
}

uint32_t EvalState::EvaluateNotRecent(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow) {
  if (const ScannedFormula* scanned = FindScannedElsewhere(text, length, false))
    return EvaluateKept(*scanned, ownColumn, ownRow);
  return EvaluateUnkept(text, length, ownColumn, ownRow);
}

uint32_t EvalState::EvaluateUnkept(const char* text, size_t length, uint32_t ownColumn, uint32_t ownRow) {
  // Scanning reads up to a NUL.
  char copy[kFormulaTextCapacity + 1];
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  const ScannedFormula* scanned = scannedFormulas.Find(copy, length);
  return scanned ? EvaluateScanned(*scanned, ownColumn, ownRow) : EvaluateText(copy, ownColumn, ownRow);
}

uint32_t EvalState::Evaluate(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow) {
  ResetForFormula(ownColumn, ownRow);
  return EvaluateScanned(scanned, ownColumn, ownRow);
}

const ScannedFormula* EvalState::FindScannedElsewhere(const char* text, size_t length, bool endsWithNul) {
  const ScannedFormula* scanned = scannedFormulas.FindKept(text, length, column);
  if (!scanned && ownersFormulas) scanned = ownersFormulas->FindKept(text, length, column);
  if (!scanned && endsWithNul) scanned = scannedFormulas.Find(text, length);
  return scanned;
}

uint32_t EvalState::EvaluateScanned(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow) {
  if (TakeConstant(scanned)) return kEvalNumber;
  if (scanned.numeric && numberShortcuts && EvaluateNumbers(scanned)) return kEvalNumber;
  if (scanned.oneCall && callShortcuts) return ReplayOneCall(scanned, ownColumn, ownRow);
  if (scanned.stepCount != 0) return ReplayProgram(scanned, ownColumn, ownRow);
  return ParseTokens(scanned, ownColumn, ownRow);
}

uint32_t EvalState::ParseTokens(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow) {
  const ScannedToken* next = scanned.tokens;
  const ScannedToken* end = scanned.tokens + scanned.tokenCount - 1;
  return Parse(
      [&](EvalValue* token) {
        const ScannedToken& taken = next == end ? *end : *next++;
        // Operators, brackets, separators and the end take no operand slot:
        // the slot is written whole before anything reads it.
        if (IsOperatorKind(taken.kind) || (taken.kind & kTokensWithoutSlot)) return uint32_t(taken.kind);
        return TakeScannedToken(taken, scanned.text, token);
      },
      ownColumn, ownRow);
}

namespace {

// Corners worked out by adding offsets, which wrap below the grid to far
// beyond it: one unsigned test per part finds the grid's edges.
inline bool IsGridRange(uint32_t firstColumn, uint32_t firstRow, uint32_t secondColumn, uint32_t secondRow) {
  return secondColumn < kColumnCount && secondRow < kRowCount && firstColumn <= secondColumn && firstRow <= secondRow;
}

}  // namespace

inline void EvalState::TakeCornerRange(const ScannedToken& firstToken, const ScannedToken& secondToken,
                                       EvalValue& slot) {
  // What taking both corners and applying ":" leaves. Most ranges are
  // written relative to the formula's cell, in order and on the grid: their
  // corners are the offsets added (none for the own row or column), an
  // offset below the grid wrapping to far beyond it, so that one unsigned
  // test per part finds the grid's edges; any other goes the general way.
  constexpr uint32_t kRelativeCell = kRefCell | kRefRowRelative | kRefColumnRelative;
  const R1C1Corner& a = firstToken.corner;
  const R1C1Corner& b = secondToken.corner;
  if ((a.flags & b.flags & kRelativeCell) == kRelativeCell && !((a.flags | b.flags) & kRefOutsideGrid) &&
      !(firstToken.resolved | secondToken.resolved)) {
    const auto offset = [](int32_t value, bool bare) { return bare ? 0u : static_cast<uint32_t>(value); };
    const uint32_t firstColumn = column + offset(a.column, a.bare & 1);
    const uint32_t firstRow = row + offset(a.row, a.bare & 2);
    const uint32_t secondColumn = column + offset(b.column, b.bare & 1);
    const uint32_t secondRow = row + offset(b.row, b.bare & 2);
    if (IsGridRange(firstColumn, firstRow, secondColumn, secondRow)) {
      slot.SetRange(RefCorner{firstColumn, firstRow, a.flags}, RefCorner{secondColumn, secondRow, b.flags}, sheet);
      return;
    }
  }
  SetCornerRange(slot, ScannedTokenCorner(firstToken, column, row), ScannedTokenCorner(secondToken, column, row), sheet);
}

inline bool EvalState::TakeRelativeRange(const CallArgument& range, EvalValue& slot) {
  const uint32_t firstColumn = column + range.offsets[0];
  const uint32_t firstRow = row + range.offsets[1];
  const uint32_t secondColumn = column + range.offsets[2];
  const uint32_t secondRow = row + range.offsets[3];
  if (!IsGridRange(firstColumn, firstRow, secondColumn, secondRow)) return false;
  slot.SetRange(RefCorner{firstColumn, firstRow, range.firstFlags}, RefCorner{secondColumn, secondRow, range.secondFlags},
                sheet);
  return true;
}

inline bool EvalState::TakeRelativeCell(const CallArgument& cell, EvalValue& slot) {
  const uint32_t cellColumn = column + cell.offsets[0];
  const uint32_t cellRow = row + cell.offsets[1];
  if (cellColumn >= kColumnCount || cellRow >= kRowCount) return false;
  slot.Clear();
  slot.kind = kEvalCellRef;
  slot.cell = RefCorner{cellColumn, cellRow, cell.firstFlags};
  slot.sheet = sheet;
  return true;
}

inline uint32_t EvalState::FinishReplay(uint32_t ownColumn, uint32_t ownRow) {
  EvalValue& result = operands[1];
  // FinishEvaluation's way with a number, without its other checks.
  if (status == 0 && operandTop == 1 && operatorTop == 0 && result.kind == kEvalNumber)
    return SettleNumberResult(result);
  return FinishEvaluation(ownColumn, ownRow);
}

[[gnu::always_inline]] inline bool EvalState::ReplayStep(const ScannedFormula& scanned, const ProgramStep& step) {
  EvalValue& slot = operands[operandTop + 1];
  switch (step.action) {
    case kStepTakeOperand: {
      SettleTakenOperand(TakeScannedToken(scanned.tokens[step.token], scanned.text, &slot), slot);
      ++operandTop;
      return true;
    }
    case kStepTakeRange:
      TakeCornerRange(scanned.tokens[step.token], scanned.tokens[step.token + step.value], slot);
      ++operandTop;
      return true;
    case kStepOmitted:
      slot.Clear();
      slot.kind = kEvalEmpty;
      ++operandTop;
      return true;
    case kStepApplyOperator:
      slot.Clear();
      slot.kind = step.value;
      ++operandTop;
      ApplyOperator();
      break;
    default:
      // The program placed the call above its arguments: ApplyOperator's
      // checks hold already.
      slot.Clear();
      slot.kind = kEvalFunctionCall;
      slot.functionIndex = static_cast<uint16_t>(scanned.tokens[step.token].textLength);
      slot.firstArgument = step.value;
      ++operandTop;
      ApplyCall();
      break;
  }
  return status == 0;
}

uint32_t EvalState::ReplayProgram(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow) {
  // The steps were taken from a parse that runs to its end whatever the
  // values, with the stacks never full, so only an application's status
  // can stop them. Records go straight to the operand slot that Parse moves
  // them to from the operator stack.
  if (const CallArgument* described = callShortcuts ? scanned.stepDescriptions : nullptr) {
    // The same steps, each with what was worked out when the formula was
    // kept: a relative range's or cell's offsets, a number known to be plain.
    for (const CallArgument* const end = described + scanned.stepCount; described != end; ++described) {
      EvalValue& slot = operands[operandTop + 1];
      if (described->shape == kArgumentPlainNumber) {
        slot.Clear();
        slot.kind = kEvalNumber;
        slot.number = scanned.tokens[described->step.token].number;
        ++operandTop;
        continue;
      }
      if (described->shape == kArgumentRelativeRange && TakeRelativeRange(*described, slot)) {
        ++operandTop;
        continue;
      }
      if (described->shape == kArgumentRelativeCell && TakeRelativeCell(*described, slot)) {
        ++operandTop;
        continue;
      }
      if (!ReplayStep(scanned, described->step)) break;
    }
    return FinishReplay(ownColumn, ownRow);
  }
  for (const ProgramStep *step = scanned.steps, *const end = step + scanned.stepCount; step != end; ++step)
    if (!ReplayStep(scanned, *step)) break;
  return FinishReplay(ownColumn, ownRow);
}

void EvalState::TakeOperandStep(const ScannedFormula& scanned, const ProgramStep& step, EvalValue& slot) {
  switch (step.action) {
    case kStepTakeOperand: {
      SettleTakenOperand(TakeScannedToken(scanned.tokens[step.token], scanned.text, &slot), slot);
      return;
    }
    case kStepTakeRange:
      TakeCornerRange(scanned.tokens[step.token], scanned.tokens[step.token + step.value], slot);
      return;
    default:
      slot.Clear();
      slot.kind = kEvalEmpty;
      return;
  }
}

uint32_t EvalState::ReplayOneCall(const ScannedFormula& scanned, uint32_t ownColumn, uint32_t ownRow) {
  // What ReplayProgram does with the same steps, the range offsets worked
  // out once and the call's checks proven when the formula was kept.
  const CallArgument* argument = scanned.callArguments;
  const uint32_t count = scanned.callArgumentCount;
  for (uint16_t slot = 1; slot <= count; ++slot, ++argument) {
    operandTop = slot;
    if (argument->shape == kArgumentPlainNumber) {
      EvalValue& number = operands[slot];
      number.Clear();
      number.kind = kEvalNumber;
      number.number = scanned.tokens[argument->step.token].number;
      continue;
    }
    if (argument->shape == kArgumentRelativeRange && TakeRelativeRange(*argument, operands[slot])) continue;
    if (argument->shape == kArgumentRelativeCell && TakeRelativeCell(*argument, operands[slot])) continue;
    TakeOperandStep(scanned, argument->step, operands[slot]);
  }
  const uint16_t callSlot = static_cast<uint16_t>(count + 1);
  EvalValue& call = operands[callSlot];
  call.Clear();
  call.kind = kEvalFunctionCall;
  call.functionIndex = scanned.callFunction;
  call.firstArgument = 1;
  operandTop = callSlot;
  const FunctionHandler handler = BuiltinFunctionTable[scanned.callFunction].handler;
  (handler ? handler : FnNotImplemented)(*this);
  KeepCallResultOnTop(1);
  return FinishReplay(ownColumn, ownRow);
}

uint32_t EvalState::EvaluateText(const char* text, uint32_t ownColumn, uint32_t ownRow) {
  if (!text || (text[0] != '=' && text[0] != '+')) status = kEvalStatusSyntax;
  const char* p = status == 0 ? text + 1 : "";
  return Parse([&](EvalValue* token) { return NextToken(&p, token, true); }, ownColumn, ownRow);
}

template <class ReadToken>
uint32_t EvalState::Parse(ReadToken readToken, uint32_t ownColumn, uint32_t ownRow) {
  // Moves the top operator record onto the operand stack and applies it.
  const auto applyTopOperator = [&]() {
    if (operandTop + 1 >= kStackSlots) {
      --operatorTop;
      status = kEvalStatusSyntax;
      return;
    }
    operands[++operandTop] = operators[operatorTop--];
    ApplyOperator();
  };
  // A cleared record of the kind on top of the operator stack; null, with
  // the syntax status, when the stack is full.
  const auto pushRecord = [&](uint32_t recordKind) -> EvalValue* {
    if (operatorTop + 1 >= kStackSlots) {
      status = kEvalStatusSyntax;
      return nullptr;
    }
    EvalValue& record = operators[++operatorTop];
    record.Clear();
    record.kind = recordKind;
    return &record;
  };
  // Applies operators down to the nearest record of kind stopKind (a call
  // record or a "("); false when a "(" or the bottom comes first.
  const auto applyDownTo = [&](uint32_t stopKind) {
    while (status == 0) {
      if (operatorTop == 0) return false;
      const uint32_t kind = operators[operatorTop].kind;
      if (kind == stopKind) return true;
      if (kind == kEvalOpenParen) return false;
      applyTopOperator();
    }
    return false;
  };

  ParsePrevious previous = ParsePrevious::kStart;
  bool ended = false;
  while (status == 0 && !ended) {
    // Every token adds at most two records; the stacks must hold them.
    if (operandTop + operatorTop + 2 > kStackSlots) {
      status = kEvalStatusSyntax;
      break;
    }
    // Read straight into the slot an operand would take; any other token
    // leaves it unused.
    EvalValue& token = operands[operandTop + 1];
    const uint32_t kind = readToken(&token);
    if (status != 0) break;

    if (IsOperandToken(kind)) {
      if (EndsOperand(previous)) {
        status = kEvalStatusSyntax;
        break;
      }
      SettleTakenOperand(kind, token);
      ++operandTop;
      previous = ParsePrevious::kOperand;
    } else if (IsOperatorKind(kind)) {
      uint32_t op = kind;
      const bool binary = EndsOperand(previous) && !(op == kOpPercent && previous == ParsePrevious::kPercent);
      if (!binary) {
        // The only prefix operator; "--1" and "+1" are malformed.
        if (op != kOpMinus || previous == ParsePrevious::kUnaryMinus) {
          status = kEvalStatusSyntax;
          break;
        }
        op = kOpUnaryMinus;
      } else {
        const uint8_t rank = kOperatorPrecedence[op - 1];
        while (status == 0 && operatorTop > 0 && IsOperatorKind(operators[operatorTop].kind) &&
               kOperatorPrecedence[operators[operatorTop].kind - 1] >= rank)
          applyTopOperator();
      }
      if (!pushRecord(op)) break;
      previous = op == kOpUnaryMinus ? ParsePrevious::kUnaryMinus
                 : op == kOpPercent  ? ParsePrevious::kPercent
                                     : ParsePrevious::kBinaryOperator;
    } else if (kind == kEvalOpenParen || kind == kEvalFunctionCall) {
      if (EndsOperand(previous)) {
        status = kEvalStatusSyntax;
        break;
      }
      if (!pushRecord(kEvalOpenParen)) break;
      if (kind == kEvalFunctionCall) {
        EvalValue* call = pushRecord(kEvalFunctionCall);
        if (!call) break;
        call->functionIndex = token.functionIndex;
        call->firstArgument = static_cast<uint16_t>(operandTop + 1);
      }
      previous = kind == kEvalFunctionCall ? ParsePrevious::kFunctionCall : ParsePrevious::kOpenParen;
    } else if (kind == kEvalListSeparator) {
      if (AwaitsOperand(previous)) {
        status = kEvalStatusSyntax;
        break;
      }
      if (previous == ParsePrevious::kListSeparator || previous == ParsePrevious::kFunctionCall) {
        EvalValue omitted;
        omitted.Clear();
        omitted.kind = kEvalEmpty;
        if (!PushOperand(omitted)) break;
      } else if (!applyDownTo(kEvalFunctionCall)) {
        status = kEvalStatusSyntax;  // a separator outside an argument list
        break;
      }
      previous = ParsePrevious::kListSeparator;
    } else if (kind == kEvalCloseParen) {
      // "()" belongs to calls only.
      if (AwaitsOperand(previous) || previous == ParsePrevious::kOpenParen || previous == ParsePrevious::kStart) {
        status = kEvalStatusSyntax;
        break;
      }
      if (previous == ParsePrevious::kListSeparator) {
        EvalValue omitted;
        omitted.Clear();
        omitted.kind = kEvalEmpty;
        if (!PushOperand(omitted)) break;
      }
      bool closed = false;
      while (status == 0 && operatorTop > 0) {
        if (operators[operatorTop].kind == kEvalOpenParen) {
          --operatorTop;
          closed = true;
          break;
        }
        applyTopOperator();  // a call record on the way runs its function
      }
      if (!closed) status = kEvalStatusSyntax;
      previous = ParsePrevious::kCloseParen;
    } else if (kind == kEvalEnd) {
      if (AwaitsOperand(previous)) {
        status = kEvalStatusSyntax;
        break;
      }
      while (status == 0 && operatorTop > 0) {
        if (!IsOperatorKind(operators[operatorTop].kind)) {
          status = kEvalStatusSyntax;  // an unclosed "(" or call
          break;
        }
        applyTopOperator();
      }
      ended = true;
    } else {
      status = kEvalStatusSyntax;
    }
  }

  return FinishEvaluation(ownColumn, ownRow);
}

uint32_t EvalState::FinishEvaluation(uint32_t ownColumn, uint32_t ownRow) {
  if (status == 0 && (operandTop != 1 || operatorTop != 0)) status = kEvalStatusSyntax;
  if (status == 0) {
    EvalValue& result = operands[1];
    if (result.kind == kEvalRange) RangeOperandToArray(1);
    if (result.kind == kEvalCellRef) ResolveOperand(1);
    if (result.kind == kEvalText || result.kind == kEvalArray) return result.kind;
    if (result.kind == kEvalNumber || result.kind == kEvalEmpty) return SettleNumberResult(result);
    status = kEvalStatusSyntax;  // an operator or call record cannot be a result
  }

  // Nothing survives a failed evaluation but its "#SYNTAX!" result.
  const uint8_t failure = status;
  ResetForFormula(ownColumn, ownRow);
  status = failure;
  operands[1].Clear();
  operands[1].kind = kEvalEmpty;
  operands[1].error = kErrorSyntax;
  operandTop = 1;
  return 0;
}
