#include "dialogs/chart_editor/series_formula.h"

#include <cstdio>
#include <cstring>

#include "core/formula/eval_state.h"
#include "core/formula/formula_chars.h"
#include "core/model/series_record.h"
#include "view/grid_view/pointing_reference.h"

namespace {

// Larger than any text the edit gives or a translation makes, so that both
// are measured before they are taken.
constexpr size_t kScratchSize = 2 * kSeriesFormulaSize;

bool IsFormula(const char* text) { return text[0] == '=' || text[0] == '+'; }

}  // namespace

bool SeriesFormulaNeedsTranslation() {
  const RegionalSettings& current = FormSeparators(false);
  const RegionalSettings& generic = FormSeparators(true);
  return FormUsesA1(false) || current.decimalSeparator != generic.decimalSeparator ||
         current.listSeparator != generic.listSeparator;
}

bool StoreSeriesFormula(EvalState& state, const char* typed, char* dataArray) {
  char scratch[kScratchSize];
  const size_t length = strnlen(typed, kScratchSize);
  if (length >= kSeriesFormulaSize)
    return false;
  std::memcpy(scratch, typed, length + 1);
  if (IsFormula(scratch) && SeriesFormulaNeedsTranslation() &&
      !state.TranslateFormula(scratch, sizeof scratch, 0, 0, true))
    return false;
  if (strnlen(scratch, kScratchSize) >= kSeriesFormulaSize)
    return false;
  std::strcpy(dataArray, scratch);
  return true;
}

void ShowSeriesFormula(EvalState& state, const char* dataArray, char* out, size_t size) {
  if (size == 0)
    return;
  char scratch[kScratchSize];
  const size_t length = strnlen(dataArray, kSeriesFormulaSize - 1);
  std::memcpy(scratch, dataArray, length);
  scratch[length] = '\0';
  // A formula that cannot be translated stays as it is.
  if (IsFormula(scratch) && SeriesFormulaNeedsTranslation())
    state.TranslateFormula(scratch, sizeof scratch, 0, 0, false);
  std::snprintf(out, size, "%s", scratch);
}

bool SeriesFormulaOfSelection(const EvalState& state, const SelectionRange& selection, const char* sheetPath,
                              char* out, size_t size) {
  char reference[kSeriesFormulaSize];
  if (!FormatSelectionReference(state, selection, reference, sizeof reference, true, sheetPath))
    return false;
  // With its "=" the text must stay below the formula's size.
  const size_t length = std::strlen(reference) + 1;
  if (length >= kSeriesFormulaSize || length >= size)
    return false;
  std::snprintf(out, size, "=%s", reference);
  return true;
}
