#ifndef TALVERO_NUMERICS_STATISTICS_HANDLERS_H
#define TALVERO_NUMERICS_STATISTICS_HANDLERS_H

// The handlers of the statistical functions, bound by name into the
// built-in function table by InstallFunctionLibrary.

#include "core/formula/eval_state.h"

// fn_distributions.cpp: distributions, their inverses and related scalars.
void FnBinomDist(EvalState& state);
void FnChiDist(EvalState& state);
void FnChiInv(EvalState& state);
void FnConfidence(EvalState& state);
void FnCritBinom(EvalState& state);
void FnExponDist(EvalState& state);
void FnFDist(EvalState& state);
void FnFDistP(EvalState& state);
void FnFInv(EvalState& state);
void FnFisher(EvalState& state);
void FnFisherInv(EvalState& state);
void FnHypGeomDist(EvalState& state);
void FnNormDist(EvalState& state);
void FnNormInv(EvalState& state);
void FnNormSDist(EvalState& state);
void FnNormSInv(EvalState& state);
void FnPermut(EvalState& state);
void FnPoisson(EvalState& state);
void FnStandardize(EvalState& state);
void FnTDist(EvalState& state);
void FnTInv(EvalState& state);
void FnWeibull(EvalState& state);

// fn_aggregates.cpp: one-list summaries.
void FnAverage(EvalState& state);
void FnAveDev(EvalState& state);
void FnDevSq(EvalState& state);
void FnGeoMean(EvalState& state);
void FnHarMean(EvalState& state);
void FnKurt(EvalState& state);
void FnSkew(EvalState& state);
void FnMax(EvalState& state);
void FnMin(EvalState& state);
void FnVar(EvalState& state);
void FnVarP(EvalState& state);
void FnStDev(EvalState& state);
void FnStDevP(EvalState& state);

// fn_two_list_stats.cpp: coefficients and tests over two lists.
void FnPearson(EvalState& state);
void FnRsq(EvalState& state);
void FnStEyx(EvalState& state);
void FnFTest(EvalState& state);
void FnTTest(EvalState& state);
void FnTTest2(EvalState& state);

// fn_order_statistics.cpp: selections and ranks over sorted values.
void FnLarge(EvalState& state);
void FnSmall(EvalState& state);
void FnPercentile(EvalState& state);
void FnQuartile(EvalState& state);
void FnPercentRank(EvalState& state);
void FnRank(EvalState& state);
void FnTrimMean(EvalState& state);

// fn_z_tests.cpp
void FnProb(EvalState& state);
void FnZTest(EvalState& state);
void FnZTest2(EvalState& state);

#endif
