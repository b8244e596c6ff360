#ifndef TALVERO_NUMERICS_ENGINEERING_HANDLERS_H
#define TALVERO_NUMERICS_ENGINEERING_HANDLERS_H

// The engineering functions that rest on special functions, bound by name
// into the built-in function table by InstallFunctionLibrary. Each
// takes two argument positions and applies element by element to ranges
// and arrays.

#include "core/formula/eval_state.h"

// fn_special_engineering.cpp
void FnBesselJ(EvalState& state);
void FnBesselY(EvalState& state);
void FnErf(EvalState& state);
void FnErfc(EvalState& state);

#endif
