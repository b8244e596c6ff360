#ifndef TALVERO_DIALOGS_CHART_EDITOR_SERIES_FORMULA_H
#define TALVERO_DIALOGS_CHART_EDITOR_SERIES_FORMULA_H

// A series' array formula between the chart editor's formula edit, which
// shows and takes it in the display form, and the series record, which
// keeps it in the stored form. Series formulas are evaluated for the cell
// R1C1, so relative references are relative to it.

#include <cstddef>

#include "view/painting/selection_painter.h"

class EvalState;

// Whether the display form differs from the stored one: A1 addressing, or a
// decimal or list separator other than the generic one. Otherwise the
// formula is stored as typed and shown as stored.
bool SeriesFormulaNeedsTranslation();

// The typed formula in the stored form becomes the series' formula
// (dataArray, kSeriesFormulaSize bytes). The translation is made in a
// scratch buffer, and only a result of at most 1024 characters replaces the
// old formula; so does a text that is no formula (no "=" or "+" first, the
// empty text among them). False, the old formula kept, when the formula
// cannot be translated or is too long.
bool StoreSeriesFormula(EvalState& state, const char* typed, char* dataArray);

// The series' formula in the display form, or as stored when it cannot be
// translated; cut to the size.
void ShowSeriesFormula(EvalState& state, const char* dataArray, char* out, size_t size);

// "=" and the absolute reference of the selection qualified by the
// worksheet path, in the display form: whole columns when the selection
// spans every row, whole rows when it spans every column, else the cells.
// False when it would not fit a series formula (1024 characters) or the
// size, or the path cannot be written as a qualifier.
bool SeriesFormulaOfSelection(const EvalState& state, const SelectionRange& selection, const char* sheetPath,
                              char* out, size_t size);

#endif
