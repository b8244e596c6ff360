#ifndef TALVERO_CORE_EXTERNAL_REFERENCE_H
#define TALVERO_CORE_EXTERNAL_REFERENCE_H

// References into other open workbooks: "[file]sheet" before "!". The other
// workbook is found among the open documents by its file name and read in a
// nested evaluator; only its cached values are seen, and it is never changed.

#include "core/formula/eval_value.h"

class EvalState;

// qualifier: "[file]sheet", blanks trimmed; value: a cell or range reference
// of the calling evaluator, at the top of what owns pool strings and array
// chains there. On success the value becomes the cell's number or text (on
// the caller's pool) or the range's array (on the caller's array stack) and
// the result is true; otherwise it is an empty value carrying "#REF!" (or
// "#VALUE!" when the caller's pool or array stack is full) and the result
// is false. A workbook that is not open gives "#REF!"; nothing is loaded.
bool EvalExternalReference(EvalState& state, const char* qualifier, EvalValue& value);

#endif
