#include "core/formula/operator_order_program.h"

#include "core/formula/builtin_function_table.h"
#include "core/formula/eval_state.h"
#include "core/formula/operator_precedence.h"

namespace {

constexpr uint32_t kStackSlots = EvalState::kStackSlots;

// The evaluator's parse carried out on token kinds alone: operand slots are
// counted rather than filled, and every push or application it would make
// is appended as a step. Any path on which the parse would set the syntax
// status refuses the program, so that such formulas keep being parsed.
class ProgramBuilder {
 public:
  ProgramBuilder(const ScannedToken* tokens, ProgramStep* steps) : tokens_(tokens), steps_(steps) {}

  uint32_t Build(uint32_t tokenCount) {
    ParsePrevious previous = ParsePrevious::kStart;
    for (uint32_t i = 0; i < tokenCount; ++i) {
      if (operandTop_ + recordTop_ + 2 > kStackSlots) return 0;
      const uint32_t kind = tokens_[i].kind;
      if (kind == kEvalNumber || kind == kEvalText || kind == kEvalCellRef || kind == kEvalEmpty) {
        if (EndsOperand(previous)) return 0;
        Emit(kStepTakeOperand, 0, i);
        ++operandTop_;
        previous = ParsePrevious::kOperand;
      } else if (IsOperatorKind(kind)) {
        // An intersection of operands that are not both ranges leaves them
        // both on the stack: the slots that follow depend on the values.
        if (kind == kOpIntersect) return 0;
        uint32_t op = kind;
        const bool binary = EndsOperand(previous) && !(op == kOpPercent && previous == ParsePrevious::kPercent);
        if (!binary) {
          if (op != kOpMinus || previous == ParsePrevious::kUnaryMinus) return 0;
          op = kOpUnaryMinus;
        } else {
          const uint8_t rank = kOperatorPrecedence[op - 1];
          while (recordTop_ > 0 && IsOperatorKind(records_[recordTop_].kind) &&
                 kOperatorPrecedence[records_[recordTop_].kind - 1] >= rank)
            if (!ApplyTop()) return 0;
        }
        if (!PushRecord(op, 0, i)) return 0;
        previous = op == kOpUnaryMinus ? ParsePrevious::kUnaryMinus
                   : op == kOpPercent  ? ParsePrevious::kPercent
                                       : ParsePrevious::kBinaryOperator;
      } else if (kind == kEvalOpenParen || kind == kEvalFunctionCall) {
        if (EndsOperand(previous)) return 0;
        if (!PushRecord(kEvalOpenParen, 0, i)) return 0;
        if (kind == kEvalFunctionCall && !PushRecord(kEvalFunctionCall, operandTop_ + 1, i)) return 0;
        previous = kind == kEvalFunctionCall ? ParsePrevious::kFunctionCall : ParsePrevious::kOpenParen;
      } else if (kind == kEvalListSeparator) {
        if (AwaitsOperand(previous)) return 0;
        if (previous == ParsePrevious::kListSeparator || previous == ParsePrevious::kFunctionCall) {
          if (!PushOmitted()) return 0;
        } else if (!ApplyDownToCall()) {
          return 0;
        }
        previous = ParsePrevious::kListSeparator;
      } else if (kind == kEvalCloseParen) {
        if (AwaitsOperand(previous) || previous == ParsePrevious::kOpenParen || previous == ParsePrevious::kStart) return 0;
        if (previous == ParsePrevious::kListSeparator && !PushOmitted()) return 0;
        for (;;) {
          if (recordTop_ == 0) return 0;
          if (records_[recordTop_].kind == kEvalOpenParen) break;
          if (!ApplyTop()) return 0;
        }
        --recordTop_;
        previous = ParsePrevious::kCloseParen;
      } else if (kind == kEvalEnd) {
        if (AwaitsOperand(previous)) return 0;
        while (recordTop_ > 0) {
          if (!IsOperatorKind(records_[recordTop_].kind)) return 0;
          if (!ApplyTop()) return 0;
        }
        // Exactly one operand must remain; anything after the end is not read.
        return operandTop_ == 1 ? count_ : 0;
      } else {
        return 0;  // an array constant, or a token the scanner refused
      }
    }
    return 0;  // no end
  }

 private:
  struct Record {
    uint32_t kind;
    uint32_t firstArgument;
    uint32_t token;
  };

  void Emit(uint8_t action, uint32_t value, uint32_t token) {
    steps_[count_++] = ProgramStep{action, static_cast<uint8_t>(value), static_cast<uint16_t>(token)};
  }

  bool PushRecord(uint32_t kind, uint32_t firstArgument, uint32_t token) {
    if (recordTop_ + 1 >= kStackSlots) return false;
    records_[++recordTop_] = Record{kind, firstArgument, token};
    return true;
  }

  bool PushOmitted() {
    if (operandTop_ + 1 >= kStackSlots) return false;
    Emit(kStepOmitted, 0, 0);
    ++operandTop_;
    return true;
  }

  // The top record moves to the next operand slot and is applied; the
  // operand top it leaves is the one the evaluator's application leaves
  // whenever it sets no status (and a status ends the evaluation anyway).
  bool ApplyTop() {
    if (operandTop_ + 1 >= kStackSlots) return false;
    const Record record = records_[recordTop_--];
    const uint32_t slot = operandTop_ + 1;
    if (record.kind == kEvalFunctionCall) {
      if (record.firstArgument == 0 || record.firstArgument > slot) return false;
      Emit(kStepCall, record.firstArgument, record.token);
      operandTop_ = record.firstArgument;
    } else if (record.kind == kOpUnaryMinus || record.kind == kOpPercent) {
      if (slot < 2) return false;
      Emit(kStepApplyOperator, record.kind, record.token);
      operandTop_ = slot - 1;
    } else if (IsOperatorKind(record.kind)) {
      if (slot < 3) return false;
      operandTop_ = slot - 2;
      if (record.kind == kOpRange && JoinLastTwoCorners()) return true;
      Emit(kStepApplyOperator, record.kind, record.token);
    } else {
      return false;
    }
    return true;
  }

  // Every "A1:B2" of a formula: when the last two steps took its operands
  // and both are single cells read without an error, they become one step,
  // so that no slot is taken for the second corner and ":" is not applied.
  bool JoinLastTwoCorners() {
    if (count_ < 2) return false;
    ProgramStep& first = steps_[count_ - 2];
    const ProgramStep& second = steps_[count_ - 1];
    if (first.action != kStepTakeOperand || second.action != kStepTakeOperand) return false;
    if (!IsPlainCorner(tokens_[first.token]) || !IsPlainCorner(tokens_[second.token])) return false;
    if (second.token <= first.token || second.token - first.token > UINT8_MAX) return false;
    first = ProgramStep{kStepTakeRange, static_cast<uint8_t>(second.token - first.token), first.token};
    --count_;
    return true;
  }

  static bool IsPlainCorner(const ScannedToken& token) {
    return token.kind == kEvalCellRef && token.error == 0 && (token.corner.flags & kRefCell) == kRefCell;
  }

  // Applies records down to the nearest call; false when a "(" or the
  // bottom comes first (a separator outside an argument list).
  bool ApplyDownToCall() {
    for (;;) {
      if (recordTop_ == 0) return false;
      const uint32_t kind = records_[recordTop_].kind;
      if (kind == kEvalFunctionCall) return true;
      if (kind == kEvalOpenParen) return false;
      if (!ApplyTop()) return false;
    }
  }

  const ScannedToken* tokens_;
  ProgramStep* steps_;
  uint32_t count_ = 0;
  Record records_[kStackSlots] = {};
  uint32_t recordTop_ = 0;
  uint32_t operandTop_ = 0;
};

}  // namespace

uint32_t BuildOperatorOrderProgram(const ScannedToken* tokens, uint32_t tokenCount, ProgramStep* steps) {
  if (!tokens || tokenCount == 0 || tokenCount > UINT16_MAX) return 0;
  ProgramBuilder builder(tokens, steps);
  return builder.Build(tokenCount);
}

bool IsNumericProgram(const ScannedToken* tokens, const ProgramStep* steps, uint32_t stepCount) {
  if (!tokens || !steps || stepCount == 0) return false;
  // Operands waiting at each step: never more than the evaluator's stack
  // holds, never fewer than the operator takes.
  uint32_t depth = 0;
  for (uint32_t i = 0; i < stepCount; ++i) {
    const ProgramStep& step = steps[i];
    if (step.action == kStepTakeOperand) {
      const ScannedToken& token = tokens[step.token];
      const bool plainNumber = token.kind == kEvalNumber && token.error == 0;
      const bool singleCell = token.kind == kEvalCellRef && (token.corner.flags & kRefCell) == kRefCell;
      if ((!plainNumber && !singleCell) || ++depth >= kStackSlots) return false;
    } else if (step.action == kStepApplyOperator) {
      switch (step.value) {
        case kOpUnaryMinus:
        case kOpPercent:
          if (depth < 1) return false;
          break;
        case kOpPlus:
        case kOpMinus:
        case kOpMultiply:
        case kOpDivide:
        case kOpPower:
          if (depth < 2) return false;
          --depth;
          break;
        default:
          return false;
      }
    } else {
      return false;
    }
  }
  // A cell alone is the whole result, which a blank leaves an empty value.
  return depth == 1 && !(stepCount == 1 && tokens[steps[0].token].kind == kEvalCellRef);
}

namespace {

// One operand step described for replay (kArgumentStep for any other step).
void DescribeStep(const ScannedToken* tokens, const ProgramStep& step, CallArgument& argument) {
  constexpr uint32_t kRelativeCell = kRefCell | kRefRowRelative | kRefColumnRelative;
  argument = CallArgument{};
  argument.step = step;
  if (step.action == kStepTakeOperand && tokens[step.token].kind == kEvalNumber && tokens[step.token].error == 0)
    argument.shape = kArgumentPlainNumber;
  if (step.action == kStepTakeOperand) {
    const ScannedToken& token = tokens[step.token];
    const R1C1Corner& c = token.corner;
    if (token.kind != kEvalCellRef || token.error != 0 || token.resolved ||
        (c.flags & kRelativeCell) != kRelativeCell || (c.flags & kRefOutsideGrid))
      return;
    argument.shape = kArgumentRelativeCell;
    argument.offsets[0] = c.bare & 1 ? 0u : static_cast<uint32_t>(c.column);
    argument.offsets[1] = c.bare & 2 ? 0u : static_cast<uint32_t>(c.row);
    argument.firstFlags = c.flags;
    return;
  }
  if (step.action != kStepTakeRange) return;
  const ScannedToken& firstToken = tokens[step.token];
  const ScannedToken& secondToken = tokens[step.token + step.value];
  const R1C1Corner& a = firstToken.corner;
  const R1C1Corner& b = secondToken.corner;
  if ((a.flags & b.flags & kRelativeCell) != kRelativeCell || ((a.flags | b.flags) & kRefOutsideGrid) ||
      (firstToken.resolved | secondToken.resolved))
    return;
  // An offset below the grid wraps to far beyond it when added.
  const auto offset = [](int32_t value, bool bare) { return bare ? 0u : static_cast<uint32_t>(value); };
  argument.shape = kArgumentRelativeRange;
  argument.offsets[0] = offset(a.column, a.bare & 1);
  argument.offsets[1] = offset(a.row, a.bare & 2);
  argument.offsets[2] = offset(b.column, b.bare & 1);
  argument.offsets[3] = offset(b.row, b.bare & 2);
  argument.firstFlags = a.flags;
  argument.secondFlags = b.flags;
}

}  // namespace

bool DescribeOneCall(const ScannedToken* tokens, const ProgramStep* steps, uint32_t stepCount,
                     CallArgument* arguments) {
  if (!tokens || !steps || stepCount == 0 || stepCount > kStackSlots - 1) return false;
  const ProgramStep& call = steps[stepCount - 1];
  if (call.action != kStepCall || call.value != 1 || tokens[call.token].kind != kEvalFunctionCall ||
      tokens[call.token].textLength >= BuiltinFunctionCount())
    return false;
  for (uint32_t i = 0; i + 1 < stepCount; ++i) {
    const ProgramStep& step = steps[i];
    if (step.action != kStepTakeOperand && step.action != kStepTakeRange && step.action != kStepOmitted)
      return false;
    DescribeStep(tokens, step, arguments[i]);
  }
  return true;
}

bool DescribeRangeSteps(const ScannedToken* tokens, const ProgramStep* steps, uint32_t stepCount,
                        CallArgument* descriptions) {
  if (!tokens || !steps) return false;
  bool any = false;
  for (uint32_t i = 0; i < stepCount; ++i) {
    DescribeStep(tokens, steps[i], descriptions[i]);
    any = any || descriptions[i].shape != kArgumentStep;
  }
  return any;
}
