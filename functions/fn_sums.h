#ifndef TALVERO_FUNCTIONS_FN_SUMS_H
#define TALVERO_FUNCTIONS_FN_SUMS_H

// Sums, counts and products: handlers that aggregate their arguments. A
// range or array argument is walked over its existing cells and aggregated,
// never applied element by element.

#include "core/formula/eval_state.h"

void FnSum(EvalState& state);
void FnProduct(EvalState& state);
void FnSumSq(EvalState& state);
void FnSumProduct(EvalState& state);
void FnSumX2MY2(EvalState& state);
void FnSumX2PY2(EvalState& state);
void FnSumXMY2(EvalState& state);

// fn_counts.cpp
void FnCount(EvalState& state);
void FnCountA(EvalState& state);
void FnCountBlank(EvalState& state);

// fn_criteria.cpp
void FnCountIf(EvalState& state);
void FnSumIf(EvalState& state);

// fn_integer_aggregates.cpp
void FnGcd(EvalState& state);
void FnLcm(EvalState& state);
void FnMultinomial(EvalState& state);

#endif
