#include "numerics/numeric_function_table.h"

#include "numerics/engineering_handlers.h"
#include "numerics/statistics_handlers.h"

const FunctionHandlerBinding kNumericHandlerBindings[] = {
    {"AVEDEV(", FnAveDev},
    {"AVERAGE(", FnAverage},
    {"AVERAGEA(", FnAverage},
    {"BESSELJ(", FnBesselJ},
    {"BESSELY(", FnBesselY},
    {"BINOMDIST(", FnBinomDist},
    {"CHIDIST(", FnChiDist},
    {"CHIINV(", FnChiInv},
    {"CONFIDENCE(", FnConfidence},
    {"CRITBINOM(", FnCritBinom},
    {"DEVSQ(", FnDevSq},
    {"ERF(", FnErf},
    {"ERFC(", FnErfc},
    {"EXPONDIST(", FnExponDist},
    {"FDIST(", FnFDist},
    {"FDISTP(", FnFDistP},
    {"FINV(", FnFInv},
    {"FISHER(", FnFisher},
    {"FISHERINV(", FnFisherInv},
    {"FTEST(", FnFTest},
    {"GEOMEAN(", FnGeoMean},
    {"HARMEAN(", FnHarMean},
    {"HYPGEOMDIST(", FnHypGeomDist},
    {"KURT(", FnKurt},
    {"LARGE(", FnLarge},
    {"MAX(", FnMax},
    {"MAXA(", FnMax},
    {"MIN(", FnMin},
    {"MINA(", FnMin},
    {"NORMDIST(", FnNormDist},
    {"NORMINV(", FnNormInv},
    {"NORMSDIST(", FnNormSDist},
    {"NORMSINV(", FnNormSInv},
    {"PEARSON(", FnPearson},
    {"PERCENTILE(", FnPercentile},
    {"PERCENTRANK(", FnPercentRank},
    {"PERMUT(", FnPermut},
    {"POISSON(", FnPoisson},
    {"PROB(", FnProb},
    {"QUARTILE(", FnQuartile},
    {"RANK(", FnRank},
    {"RSQ(", FnRsq},
    {"SKEW(", FnSkew},
    {"SMALL(", FnSmall},
    {"STANDARDIZE(", FnStandardize},
    {"STDEV(", FnStDev},
    {"STDEVA(", FnStDev},
    {"STDEVP(", FnStDevP},
    {"STDEVPA(", FnStDevP},
    {"STEYX(", FnStEyx},
    {"TDIST(", FnTDist},
    {"TINV(", FnTInv},
    {"TRIMMEAN(", FnTrimMean},
    {"TTEST(", FnTTest},
    {"TTEST2(", FnTTest2},
    {"VAR(", FnVar},
    {"VARA(", FnVar},
    {"VARP(", FnVarP},
    {"VARPA(", FnVarP},
    {"WEIBULL(", FnWeibull},
    {"ZTEST(", FnZTest},
    {"ZTEST2(", FnZTest2},
};

const size_t kNumericHandlerBindingCount = sizeof kNumericHandlerBindings / sizeof kNumericHandlerBindings[0];

bool InstallNumericFunctionHandlers() {
  bool complete = InstallBuiltinFunctionHandlers();
  for (const FunctionHandlerBinding& binding : kNumericHandlerBindings)
    if (BindBuiltinFunctionHandler(binding.name, binding.handler) == 0) complete = false;
  return complete;
}
