#ifndef TALVERO_CORE_CELL_INPUT_H
#define TALVERO_CORE_CELL_INPUT_H

// Typed text into a cell record: an error constant, a formula, a number, an
// ISO 8601 date, time or duration, or plain text. A parse may change the
// number-format category of the cell's style ("12%" makes it a percentage,
// "2009-05-16" a date); the options change only with the category, and a
// parse that implies no particular category (a plain number, a text) leaves
// the format as it was.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/formula/eval_state.h"
#include "core/numfmt/num_format_params.h"

// Room for every record typed input makes: the longest formula text.
constexpr size_t kCellInputCapacity = kFormulaCellHeadSize + kFormulaTextCapacity;

// Whether formulas are written differently for the user than they are
// stored: A1 references, or separators other than the generic ones.
bool FormulaDisplayFormDiffers();

// Every kind but formulas: a text beginning with "=" stays a text. Writes
// the record for the cell (row, column) into record and returns its size; 0,
// with nothing written, only when capacity is below kCellInputCapacity and
// the record does not fit. Texts are cut to kMaxCellTextLength characters.
uint32_t ParseValueInput(const char* text, NumFormatParams* format, uint32_t row, uint16_t column,
                         void* record, size_t capacity);

// The same, with formulas: a text beginning with "=" is translated to the
// stored form for the cell's position (unless both forms are the same) and
// becomes a formula cell awaiting calculation. A formula that cannot be
// translated (too long, or unreadable) is kept as a text cell, as typed.
uint32_t ParseCellInput(EvalState& translator, const char* text, NumFormatParams* format, uint32_t row,
                        uint16_t column, void* record, size_t capacity);

#endif
