#ifndef TALVERO_NUMERICS_SOLVER_HANDLERS_H
#define TALVERO_NUMERICS_SOLVER_HANDLERS_H

// The handlers of the searches over a formula cell, bound by name by
// InstallFunctionLibrary.

#include "core/formula/eval_state.h"

// fn_solvers.cpp: ROOT, MINMC, MINSIMPLEX.
void FnRoot(EvalState& state);
void FnMinMC(EvalState& state);
void FnMinSimplex(EvalState& state);

#endif
