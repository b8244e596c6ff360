#ifndef TALVERO_NUMERICS_MATRIX_HANDLERS_H
#define TALVERO_NUMERICS_MATRIX_HANDLERS_H

// The handlers of the matrix functions and of the random functions built on
// the matrix type, bound by name by InstallFunctionLibrary.

#include "core/formula/eval_state.h"

// fn_matrix_algebra.cpp: elimination, substitution, the Cholesky factor,
// products, transposition, diagonals, determinants and inverses.
void FnMtxGauss(EvalState& state);
void FnMtxChl(EvalState& state);
void FnMtxFwSubst(EvalState& state);
void FnMtxBkSubst(EvalState& state);
void FnMtxMlt(EvalState& state);
void FnMtxT(EvalState& state);
void FnMtxDiag(EvalState& state);
void FnMDeterm(EvalState& state);
void FnMInverse(EvalState& state);

// fn_least_squares.cpp: the singular value decomposition and least squares.
void FnMtxSvd(EvalState& state);
void FnMtxLsw(EvalState& state);
void FnMtxLsc(EvalState& state);

// fn_random.cpp: random numbers.
void FnRand(EvalState& state);
void FnMtxRand(EvalState& state);
void FnMtxRand2(EvalState& state);

#endif
