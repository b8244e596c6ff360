#include "core/formula/formula_array_constant.h"

#include <cstring>

#include "core/cells/cell_record.h"
#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"
#include "core/formula/formula_literal_print.h"
#include "core/formula/formula_scanner.h"
#include "core/base/result_check.h"

namespace {

// A bare word runs up to one of these (or the form's separators).
constexpr char kBareWordEnds[] = ".,;()+-*:/!&=$#%{}";

// Room for one element record: the longest text a formula can hold.
constexpr size_t kElementRecordCapacity = kTextCellHeadSize + kFormulaTextCapacity + 1;

class ElementWriter {
 public:
  explicit ElementWriter(EvalArrayStore& store) : store_(store) {
    cursor_.flags = kCursorAfterRecord;
  }

  void Number(uint32_t column, uint32_t row, double value, uint8_t error) {
    const uint32_t size =
        BuildNumberCell(record_, sizeof record_, row, static_cast<uint16_t>(column), value, error);
    Insert(size);
  }
  void Text(uint32_t column, uint32_t row, const char* text, size_t length, uint8_t error) {
    const uint32_t size = length < kFormulaTextCapacity
                              ? BuildTextCell(record_, sizeof record_, row,
                                              static_cast<uint16_t>(column), text,
                                              static_cast<uint16_t>(length), error)
                              : 0;
    Insert(size);
  }
  bool Failed() const { return failed_; }

 private:
  void Insert(uint32_t size) {
    if (failed_) return;
    // Elements arrive in row and column order, so the cursor stays at the end.
    if (size == 0 || !store_.InsertCell(AsCellRecord(record_), &cursor_)) failed_ = true;
  }

  EvalArrayStore& store_;
  CellCursor cursor_;
  uint8_t record_[kElementRecordCapacity];
  bool failed_ = false;
};

bool EndsBareWord(char c, const RegionalSettings& separators) {
  return c == '\0' || std::strchr(kBareWordEnds, c) != nullptr || c == separators.listSeparator ||
         c == separators.arrayRowSeparator;
}

// Reads one element at p into (column, row); returns the position after it,
// or null when it is malformed.
const char* ReadElement(const char* p, uint32_t column, uint32_t row, bool storedForm,
                        ElementWriter& writer) {
  const RegionalSettings& separators = FormSeparators(storedForm);
  const char c = *p;
  if (c == separators.listSeparator || c == separators.arrayRowSeparator || c == '}') return p;
  if (IsFormulaDigit(c) || c == '-' || c == separators.decimalSeparator) {
    const bool negative = c == '-';
    double value = 0;
    const char* end = nullptr;
    if (!ParseNumberLiteral(p + (negative ? 1 : 0), &value, &end, storedForm)) return nullptr;
    if (negative) value = -value;
    writer.Number(column, row, value, IsBadNumber(value) ? kErrorNum : kErrorNone);
    return end;
  }
  if (c == '#') {
    uint8_t error = 0;
    const char* end = nullptr;
    if (!ParseErrorLiteral(p, &error, &end)) return nullptr;
    writer.Number(column, row, 0.0, error);
    return end;
  }
  if (c == '"' || c == '\'') {
    const char* close = std::strchr(p + 1, c);
    if (!close) return nullptr;  // the constant cannot end inside a text
    writer.Text(column, row, p + 1, static_cast<size_t>(close - p - 1), kErrorNone);
    return close + 1;
  }
  if (c == '\0') return nullptr;
  double truth = 0;
  const char* end = nullptr;
  if (IsFormulaLetter(c) && ParseBoolLiteral(p, &truth, &end)) {
    writer.Number(column, row, truth, kErrorNone);
    return end;
  }
  end = p;
  while (!EndsBareWord(*end, separators)) ++end;
  writer.Text(column, row, p, static_cast<size_t>(end - p), kErrorName);
  return end;
}

}  // namespace

ArrayConstantResult ParseArrayConstant(EvalState& state, const char* position, bool storedForm,
                                       EvalValue* token, const char** end) {
  const RegionalSettings& separators = FormSeparators(storedForm);
  EvalArrayStore& store = state.arrays;
  ElementWriter writer(store);
  uint32_t column = 0;
  uint32_t row = 0;
  uint32_t highestColumn = 0;
  bool malformed = false;
  const char* p = position + 1;
  for (;;) {
    p = ReadElement(SkipFormulaBlanks(p), column, row, storedForm, writer);
    if (!p) {
      malformed = true;
      break;
    }
    p = SkipFormulaBlanks(p);
    if (*p == '}') {
      ++p;
      break;
    }
    if (*p == separators.listSeparator) {
      ++column;
    } else if (*p == separators.arrayRowSeparator) {
      ++row;
      column = 0;
    } else {
      malformed = true;
      break;
    }
    ++p;
    if (column >= kColumnCount || row >= kRowCount) {
      malformed = true;
      break;
    }
    if (column > highestColumn) highestColumn = column;
  }
  *end = p ? p : position;

  // The cells were written into the store's own chain; the array takes it.
  CellBlock* chain = store.FirstBlock();
  store.AttachChain(nullptr);
  if (malformed || writer.Failed()) {
    store.ReleaseChain(chain);
    return malformed ? kArrayConstantMalformed : kArrayConstantNoMemory;
  }
  if (!store.PushChain(chain)) {
    store.ReleaseChain(chain);
    return kArrayConstantStackFull;
  }
  token->SetArray(highestColumn + 1, row + 1);
  return kArrayConstantRead;
}

bool FormatArrayConstant(const CellBlock* chain, uint32_t columns, uint32_t rows, BoundedText& out,
                         bool storedForm) {
  const RegionalSettings& separators = FormSeparators(storedForm);
  CellCursor cursor;
  cursor.flags = kCursorAfterRecord;
  cursor.block = const_cast<CellBlock*>(chain);
  const CellRecord* next = cursor.Next();
  const size_t start = out.Length();
  out.Put('{');
  for (uint32_t row = 0; row < rows && !out.Overflowed(); ++row) {
    if (row > 0) {
      out.Put(separators.arrayRowSeparator);
      out.Put(' ');
    }
    for (uint32_t column = 0; column < columns && !out.Overflowed(); ++column) {
      if (column > 0) {
        out.Put(separators.listSeparator);
        out.Put(' ');
      }
      while (next && (next->Row() < row || (next->Row() == row && next->Column() < column)))
        next = cursor.Next();
      if (!next || next->Row() != row || next->Column() != column) continue;
      if (next->IsText()) {
        char text[kFormulaTextCapacity + 1];
        const size_t length = next->TextLength() < kFormulaTextCapacity ? next->TextLength()
                                                                         : kFormulaTextCapacity;
        std::memcpy(text, next->Text(), length);
        text[length] = '\0';
        if (!AppendQuotedText(out, text)) return false;
      } else if (next->ErrorCode() != kErrorNone) {
        out.Append(ErrorName(next->ErrorCode()));
      } else {
        AppendFormulaNumber(out, next->Number(), storedForm);
      }
      next = cursor.Next();
    }
  }
  out.Put('}');
  return !out.Overflowed() && out.Length() - start < kFormulaTextCapacity;
}
