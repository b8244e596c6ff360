#include "core/formula/range_ref_parser.h"

#include <cstring>

#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"

namespace {

bool CopyPart(char* out, const char* from, const char* to) {
  const size_t length = static_cast<size_t>(to - from);
  if (length >= kQualifiedRefCapacity) return false;
  if (out) {
    std::memcpy(out, from, length);
    out[length] = '\0';
  }
  return true;
}

using CornerReader = uint32_t (*)(const EvalState* state, const char* p, RefCorner* corner,
                                  const char** end);

uint32_t ReadA1(const EvalState*, const char* p, RefCorner* corner, const char** end) {
  return ParseA1Reference(p, corner, end);
}

uint32_t ReadR1C1(const EvalState* state, const char* p, RefCorner* corner, const char** end) {
  return ParseR1C1Reference(*state, p, corner, end);
}

template <class T>
void Order(T* low, T* high) {
  if (*high < *low) {
    const T swap = *low;
    *low = *high;
    *high = swap;
  }
}

bool ParseRange(const EvalState* state, CornerReader read, bool singlePartialAllowed,
                const char* text, EvalValue* range, const char** end) {
  RefCorner first;
  RefCorner second;
  const char* p = nullptr;
  if (!read(state, text, &first, &p) || (first.flags & kRefOutsideGrid)) return false;
  if (*p == ':') {
    if (!read(state, p + 1, &second, &p) || (second.flags & kRefOutsideGrid)) return false;
    if ((first.flags & kRefCell) != (second.flags & kRefCell)) return false;
  } else {
    if (!IsFullCell(first) && !singlePartialAllowed) return false;
    second = first;
  }
  Order(&first.column, &second.column);
  Order(&first.row, &second.row);
  if (IsWholeColumn(first)) {
    first.row = 0;
    second.row = kRowCount - 1;
  } else if (IsWholeRow(first)) {
    first.column = 0;
    second.column = kColumnCount - 1;
  }
  range->Clear();
  range->kind = kEvalRange;
  range->cell = first;
  range->first = first;
  range->second = second;
  if (end) *end = p;
  return true;
}

}  // namespace

bool SplitQualifiedRef(const char* text, char* workbookName, char* sheetPath,
                       const char** reference) {
  const char* p = SkipFormulaBlanks(text);
  const char* const whole = p;
  const char quote = (*p == '\'' || *p == '"') ? *p : '\0';
  if (quote) ++p;

  const char* bookStart = p;
  const char* bookEnd = p;
  if (*p == '[') {
    const char* close = std::strchr(p, ']');
    if (!close) return false;
    bookStart = p + 1;
    bookEnd = close;
    while (bookEnd > bookStart && IsFormulaBlank(bookEnd[-1])) --bookEnd;
    p = close + 1;
  }

  const char* sheetEnd = nullptr;
  const char* ref = nullptr;
  if (quote) {
    sheetEnd = std::strchr(p, quote);
    if (!sheetEnd) return false;
    if (reference) {
      if (sheetEnd[1] != '!') return false;
      ref = sheetEnd + 2;
    }
  } else if (!reference) {
    sheetEnd = p + std::strlen(p);
  } else if (const char* bang = std::strchr(p, '!')) {
    sheetEnd = bang;
    ref = bang + 1;
  } else {
    // A reference alone, brackets and all.
    bookStart = bookEnd = sheetEnd = p = ref = whole;
  }

  if (!CopyPart(workbookName, bookStart, bookEnd) || !CopyPart(sheetPath, p, sheetEnd))
    return false;
  if (reference) *reference = ref;
  return true;
}

bool ParseRangeRef(const char* text, EvalValue* range, const char** end) {
  return ParseRange(nullptr, ReadA1, false, text, range, end);
}

bool ParseQualifiedRangeRef(const EvalState& state, const char* text, EvalValue* range,
                            const char** end) {
  char workbookName[kQualifiedRefCapacity];
  char sheetPath[kQualifiedRefCapacity];
  const char* reference = nullptr;
  if (!SplitQualifiedRef(text, workbookName, sheetPath, &reference)) return false;
  if (workbookName[0]) return false;
  CellStore* sheet = state.sheet;
  if (sheetPath[0]) {
    sheet = state.FindQualifiedSheet(state.sheet, sheetPath);
    if (!sheet) return false;
  }
  if (!ParseRange(&state, ReadR1C1, true, reference, range, end)) return false;
  range->sheet = sheet;
  return true;
}
