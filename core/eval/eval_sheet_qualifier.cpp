// The sheet operator "!": a qualifier text before a reference points the
// reference at another worksheet, at every worksheet of a folder, or into
// another open workbook.

#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "core/eval/external_reference.h"
#include "core/formula/formula_chars.h"
#include "core/workbook/workbook.h"

namespace {

uint32_t LargerError(uint32_t a, uint32_t b) { return a > b ? a : b; }

bool IsReference(uint32_t kind) { return kind == kEvalCellRef || kind == kEvalRange; }

}  // namespace

void EvalState::ApplySheetQualifier(uint16_t left, uint16_t right) {
  const EvalValue reference = operands[right];
  const uint32_t leftError = operands[left].error;
  const uint32_t error = LargerError(leftError, reference.error);
  if (operands[left].kind != kEvalText || !IsReference(reference.kind)) {
    FailBinary(left, right, error != kErrorNone ? error : uint32_t(kErrorValue));
    return;
  }
  // A bare name carries "#NAME?" until it turns out to be a qualifier.
  if (reference.error != kErrorNone || (leftError != kErrorNone && leftError != kErrorName)) {
    FailBinary(left, right, error);
    return;
  }

  char qualifier[FormulaStrings::kByteCapacity];
  const char* text = SlotText(left);
  size_t length = SlotTextLength(left);
  while (length > 0 && IsFormulaBlank(*text)) {
    ++text;
    --length;
  }
  while (length > 0 && IsFormulaBlank(text[length - 1])) --length;
  std::memcpy(qualifier, text, length);
  qualifier[length] = '\0';
  // The reference owns nothing, so once the qualifier's text is gone a
  // result pushed on the top of the pool or the array stack is in step.
  DisownSlot(left);
  EvalValue& result = operands[left];
  result = reference;

  if (qualifier[0] == '[') {
    EvalExternalReference(*this, qualifier, result);
    KeepInStep(left);
    return;
  }
  CellStore* store = qualifiedSheets.Find(reference.sheet, qualifier);
  if (!store) {
    store = FindQualifiedSheet(reference.sheet, qualifier);
    qualifiedSheets.Keep(reference.sheet, qualifier, store);
  }
  if (store) {
    result.sheet = store;
    result.error = kErrorNone;
    return;
  }
  const CWorkSheetTree::CTreeItem* item = owner ? owner->FindItemByQualifier(reference.sheet, qualifier) : nullptr;
  if (item && item->IsFolder()) {
    FolderRangeToArray(result, item);
    KeepInStep(left);
    return;
  }
  if (item && item->cellStore) {
    result.sheet = item->cellStore;
    result.error = kErrorNone;
    return;
  }
  result.Clear();
  result.kind = kEvalEmpty;
  result.error = kErrorName;
}
