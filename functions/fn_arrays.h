#ifndef TALVERO_FUNCTIONS_FN_ARRAYS_H
#define TALVERO_FUNCTIONS_FN_ARRAYS_H

// The array functions: they build, pick from, reorder or measure arrays and
// references. New arrays are built at relative coordinates and spill from
// the formula's cell.

#include "core/formula/eval_state.h"

void FnMtxSeries(EvalState& state);
void FnFrequency(EvalState& state);
void FnColumn(EvalState& state);
void FnRow(EvalState& state);
void FnIndex(EvalState& state);
void FnChoose(EvalState& state);
void FnSort(EvalState& state);
void FnTranspose(EvalState& state);
void FnUnique(EvalState& state);

#endif
