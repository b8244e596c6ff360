#include "core/eval/external_reference.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/workbook/open_document_table.h"
#include "core/formula/range_ref_parser.h"
#include "core/workbook/workbook.h"

namespace {

bool Fail(EvalValue& value, uint32_t error) {
  value.Clear();
  value.kind = kEvalEmpty;
  value.error = error;
  return false;
}

// The item that the worksheet text names in the other workbook: a full path
// when it begins with "\", else a path relative to the folder of its active
// worksheet.
const CWorkSheetTree::CTreeItem* FindTarget(const CWorkBook& book, const char* sheetText) {
  if (sheetText[0] == '\\') return book.FindItemByPath(sheetText);
  char path[kTreePathCapacity];
  path[0] = '\0';
  if (book.activeWorksheet && !book.activeWorksheet->GetFullPath(path, sizeof path, true)) return nullptr;
  const size_t folderLength = std::strlen(path);
  const size_t textLength = std::strlen(sheetText);
  if (folderLength + textLength >= kTreePathCapacity) return nullptr;
  std::memcpy(path + folderLength, sheetText, textLength + 1);
  return book.FindItemByPath(path);
}

// Moves the nested evaluator's result into the caller's pool or array stack.
bool MoveResult(EvalState& nested, EvalValue& result, EvalState& state, EvalValue& value) {
  if (result.kind == kEvalText) {
    const bool kept = state.strings.Push(nested.strings.Top(), nested.strings.TopLength());
    nested.strings.Pop();
    if (!kept) return Fail(value, kErrorValue);
  } else if (result.kind == kEvalArray) {
    CellBlock* chain = nested.arrays.PopChain();
    if (!state.arrays.PushChain(chain)) {
      state.arrays.ReleaseChain(chain);
      return Fail(value, kErrorValue);
    }
  }
  value = result;
  return true;
}

}  // namespace

bool EvalExternalReference(EvalState& state, const char* qualifier, EvalValue& value) {
  if (value.kind != kEvalCellRef && value.kind != kEvalRange) return Fail(value, kErrorValue);
  char bookName[kQualifiedRefCapacity];
  char sheetText[kQualifiedRefCapacity];
  if (!SplitQualifiedRef(qualifier, bookName, sheetText, nullptr) || !bookName[0])
    return Fail(value, kErrorRef);
  CWorkBook* book = FindOpenDocument(bookName);
  if (!book) return Fail(value, kErrorRef);
  const CWorkSheetTree::CTreeItem* item = FindTarget(*book, sheetText);
  if (!item) return Fail(value, kErrorRef);

  EvalState nested(book, book->activeWorksheet ? &book->activeWorksheet->cells : nullptr);
  nested.resolveSheet = book->evaluator.resolveSheet;
  EvalValue result = value;
  result.error = kErrorNone;
  if (item->IsWorksheet() && item->cellStore) {
    result.sheet = item->cellStore;
    if (result.kind == kEvalCellRef)
      nested.ResolveReference(result);
    else
      nested.RangeToArray(result);
  } else if (item->IsFolder()) {
    nested.FolderRangeToArray(result, item);
  } else {
    return Fail(value, kErrorRef);
  }
  // The nested evaluator's array store and pool go with it.
  return MoveResult(nested, result, state, value);
}
