#ifndef TALVERO_NUMERICS_PROGRAMMING_HANDLERS_H
#define TALVERO_NUMERICS_PROGRAMMING_HANDLERS_H

// The handlers of the linear, integer and quadratic programs, bound by name
// by InstallFunctionLibrary.

#include "core/formula/eval_state.h"

// fn_programming.cpp: LPROG, LPROGINT, LPROGBIN.
void FnLProg(EvalState& state);
void FnLProgInt(EvalState& state);
void FnLProgBin(EvalState& state);
// fn_programming.cpp: QPROG.
void FnQProg(EvalState& state);

#endif
