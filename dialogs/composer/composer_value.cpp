#include "dialogs/composer/composer_value.h"

#include <cstdio>

#include "core/base/error_code.h"
#include "core/edit/cell_input.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/double_to_text.h"
#include "core/numfmt/regional_settings.h"
#include "core/workbook/workbook.h"
#include "dialogs/composer/composer_state.h"

void ComposerValueText(CWorkBook* book, const char* formula, char* out, size_t size, bool* beep) {
  *beep = false;
  if (size == 0) return;
  out[0] = '\0';
  CellStore* sheet = book->activeWorksheet != nullptr ? &book->activeWorksheet->cells : nullptr;
  EvalState state(book, sheet);
  state.resolveSheet = book->evaluator.resolveSheet;
  char text[kComposerTextCapacity];
  std::snprintf(text, sizeof text, "%s", formula);
  // A formula that does not translate is evaluated as it stands and fails there.
  if (FormulaDisplayFormDiffers()) state.TranslateFormula(text, sizeof text, 0, 0, true);
  const uint32_t kind = state.Evaluate(text, 0, 0);
  const EvalValue& result = state.operands[1];
  if (kind == 0) {
    std::snprintf(out, size, "%s", ErrorName(kErrorSyntax));
    *beep = true;
  } else if (result.error != kErrorNone) {
    std::snprintf(out, size, "%s", ErrorName(static_cast<uint8_t>(result.error)));
    *beep = true;
  } else if (kind == kEvalNumber && result.kind == kEvalNumber) {
    char number[kDoubleTextCapacity];
    if (DoubleToText(result.number, number, sizeof number, &CurrentRegionalSettings()) > 0)
      std::snprintf(out, size, "%s", number);
  } else if (kind == kEvalText) {
    std::snprintf(out, size, "%s", state.SlotText(1));
  }
}
