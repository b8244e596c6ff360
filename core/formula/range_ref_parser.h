#ifndef TALVERO_CORE_RANGE_REF_PARSER_H
#define TALVERO_CORE_RANGE_REF_PARSER_H

// Reference texts outside formulas: INDIRECT, the go-to command and the
// automation server name cells and ranges with these.

#include "core/formula/eval_value.h"
#include "core/formula/formula_ref_text.h"

class EvalState;

// Splits "'[book]sheet'!ref", "[book]sheet!ref", "sheet!ref" or "ref": an
// optional opening quote (' or "), an optional workbook name in brackets
// (trailing blanks removed), the worksheet path up to the matching quote or,
// unquoted, up to the first "!", then "!" and the reference. An unquoted text
// without "!" is a reference alone. Without a reference output the whole text
// is a qualifier ("[book]sheet", quoted or not). Each output is written only
// when given; name buffers hold kQualifiedRefCapacity bytes. False when a
// quote or bracket is not closed, a quoted qualifier is not followed by "!",
// or a part does not fit.
bool SplitQualifiedRef(const char* text, char* workbookName, char* sheetPath,
                       const char** reference);

// "B2", "A1:C3", "A:C" or "1:3" (A1 style, "$" allowed): a range value with
// both ends of the same kind and inside the grid; whole columns span every
// row, whole rows every column; corners are put in order. The sheet is left
// null for the caller. False when the text does not begin with such a
// reference; *end (when given) follows what was read.
bool ParseRangeRef(const char* text, EvalValue* range, const char** end);

// The same in R1C1 relative to the evaluator's cell, where a single whole row
// or column is also a reference, after an optional worksheet qualifier that
// the evaluator's resolver must find; without one the range lies on the
// evaluator's worksheet. A qualifier naming another workbook is refused.
bool ParseQualifiedRangeRef(const EvalState& state, const char* text, EvalValue* range,
                            const char** end);

#endif
