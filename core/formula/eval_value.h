#ifndef TALVERO_CORE_EVAL_VALUE_H
#define TALVERO_CORE_EVAL_VALUE_H

// One slot of the evaluator's operand or operator stack, and the token the
// formula scanner hands out. A text value's characters are the top string of
// the evaluator's text pool and an array value's cells the top chain of its
// array store: both are pushed and popped in step with the values.

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/ref_corner.h"

class CellStore;

// Value and token kinds. Operators are their codes 1..17.
enum EvalKind : uint32_t {
  kEvalInvalid = 0,
  kEvalNumber = 32,
  kEvalCellRef = 64,  // a cell, or a whole row or column as a token
  kEvalRange = 128,
  kEvalText = 256,
  kEvalEmpty = 512,  // an omitted argument or an error-only value
  kEvalOpenParen = 1024,
  kEvalCloseParen = 2048,
  kEvalEnd = 4096,
  kEvalListSeparator = 8192,
  kEvalFunctionCall = 16384,
  kEvalArray = 32768,
};

enum FormulaOperator : uint32_t {
  kOpEqual = 1,
  kOpLess = 2,
  kOpLessEqual = 3,
  kOpGreater = 4,
  kOpGreaterEqual = 5,
  kOpNotEqual = 6,
  kOpPlus = 7,
  kOpMinus = 8,
  kOpConcat = 9,
  kOpMultiply = 10,
  kOpDivide = 11,
  kOpPower = 12,
  kOpUnaryMinus = 13,  // made by the evaluator from "-"
  kOpPercent = 14,
  kOpIntersect = 15,  // "_"
  kOpSheet = 16,      // "!"
  kOpRange = 17,      // ":"
};
constexpr uint32_t kOperatorCount = 17;

inline bool IsOperatorKind(uint32_t kind) { return kind >= 1 && kind <= kOperatorCount; }

struct EvalValue {
  uint32_t kind;          // EvalKind or FormulaOperator; 16 bits used
  RefCorner cell;         // a cell reference
  RefCorner first;        // top-left corner of a range or array
  RefCorner second;       // bottom-right corner of a range or array
  double number;
  uint16_t functionIndex;  // a call's entry in the sorted BuiltinFunctionTable
  uint16_t firstArgument;  // stack index of a call's first argument
  uint32_t error;          // ErrorCode byte, 0 when none
  CellStore* sheet;        // the worksheet a reference points into; none for arrays

  void Clear() { std::memset(this, 0, sizeof *this); }

  // A range between two corners of a worksheet, all else cleared.
  void SetRange(const RefCorner& from, const RefCorner& to, CellStore* of) {
    Clear();
    kind = kEvalRange;
    cell = from;
    first = from;
    second = to;
    sheet = of;
  }

  // An array of the given extent; its handle must already be on the array stack.
  void SetArray(uint32_t columns, uint32_t rows) {
    kind = kEvalArray;
    first = RefCorner{0, 0, kRefCell};
    second = RefCorner{columns - 1, rows - 1, kRefCell};
    sheet = nullptr;
  }
};

// "first:second" of two corners into value: the range they span on sheet,
// or "#REF!" when either is no single cell of the grid or they are out of
// order ("B2:A1" is no range). Every "A1:B2" of a formula comes here.
inline void SetCornerRange(EvalValue& value, RefCorner first, RefCorner second, CellStore* sheet) {
  value.Clear();
  if (!IsFullCell(first) || !IsFullCell(second) || ((first.flags | second.flags) & kRefOutsideGrid) ||
      first.column > second.column || first.row > second.row) {
    value.kind = kEvalEmpty;
    value.error = kErrorRef;
    return;
  }
  value.kind = kEvalRange;
  value.cell = first;
  value.first = first;
  value.second = second;
  value.sheet = sheet;
}

// 64 bytes on both targets: the 32-bit build pads after the sheet pointer,
// the 64-bit build's wider pointer fills that padding.
static_assert(sizeof(EvalValue) == 64, "an evaluator slot is 64 bytes");
static_assert(offsetof(EvalValue, cell) == 4, "layout");
static_assert(offsetof(EvalValue, first) == 16, "layout");
static_assert(offsetof(EvalValue, second) == 28, "layout");
static_assert(offsetof(EvalValue, number) == 40, "layout");
static_assert(offsetof(EvalValue, functionIndex) == 48, "layout");
static_assert(offsetof(EvalValue, firstArgument) == 50, "layout");
static_assert(offsetof(EvalValue, error) == 52, "layout");
static_assert(offsetof(EvalValue, sheet) == 56, "layout");

#endif
