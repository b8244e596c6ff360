#ifndef TALVERO_NUMERICS_REGRESSION_HANDLERS_H
#define TALVERO_NUMERICS_REGRESSION_HANDLERS_H

// The handlers of the whole-array statistics, the line fits and the
// polynomial and time-series fits, bound by name by
// InstallFunctionLibrary.

#include "core/formula/eval_state.h"

// fn_array_statistics.cpp: chi-square tests, correlation and covariance
// over equally shaped arrays, medians and modes.
void FnChiTest(EvalState& state);
void FnChiTest2(EvalState& state);
void FnCorrel(EvalState& state);
void FnCovar(EvalState& state);
void FnMedian(EvalState& state);
void FnMode(EvalState& state);

// fn_line_fit.cpp: straight lines by least squares.
void FnForecast(EvalState& state);
void FnIntercept(EvalState& state);
void FnSlope(EvalState& state);
void FnLinEst(EvalState& state);
void FnTrend(EvalState& state);

// fn_poly_fit.cpp: orthogonal-polynomial fits and moving-polynomial series.
void FnPolyReg(EvalState& state);
void FnPolyPoints(EvalState& state);
void FnTimeSeries(EvalState& state);

#endif
