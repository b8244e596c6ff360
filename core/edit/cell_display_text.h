#ifndef TALVERO_CORE_CELL_DISPLAY_TEXT_H
#define TALVERO_CORE_CELL_DISPLAY_TEXT_H

// What a cell shows: its value through the number-format part of its style,
// as plain text (files, clipboard, find and replace, automation) or as the
// display tokens the painters lay out. Formats that fail to compile or apply
// never hide a value: the plain number or text is shown instead.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/numfmt/num_format_params.h"

class EvalState;
struct NumberFormat;

// Room for every text the functions below write, with its NUL.
constexpr size_t kCellTextCapacity = kMaxCellTextLength + 1;

// The cell's value as it is shown, in the current regional settings: an
// error's name, a number (or a formula's number) through its category, a
// text (or a formula's text) through a user pattern or a date or time code,
// else as it is. A text longer than the buffer is cut. Always true.
bool FormatCellDisplayText(const CellRecord& cell, const NumFormatParams& format, char* buffer, size_t size);
// The same for a number cell's value without a record: the number, or the
// name of error when it is not kErrorNone (for values a cell would show,
// such as a chart's axis labels). Always true.
bool FormatNumberDisplayText(double number, uint8_t error, const NumFormatParams& format, char* buffer,
                             size_t size);

// The shown text when typing it into the cell gives back the same value (a
// number to its last bit, a text byte for byte); otherwise a text that does,
// such as the full number (up to 17 significant digits) where the format
// rounds or the ISO text of a date the format shows only in part. Editing
// starts from it.
bool FormatCellValueText(const CellRecord& cell, const NumFormatParams& format, char* buffer, size_t size);

// A formula cell's formula in the form the user reads and types (A1
// references and the current separators where they apply); the stored text
// when it cannot be translated. Returns the length written.
size_t FormulaDisplayText(EvalState& translator, const CellRecord& cell, char* buffer, size_t size);

// The display tokens of a cell for the painters; with showFormulas a formula
// cell shows its formula text. False when the tokens overflowed (the text is
// then cut).
bool FormatCellForDisplay(EvalState& translator, bool showFormulas, const CellRecord& cell,
                          const NumFormatParams& format, NumberFormat* out);

#endif
