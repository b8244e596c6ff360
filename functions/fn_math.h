#ifndef TALVERO_FUNCTIONS_FN_MATH_H
#define TALVERO_FUNCTIONS_FN_MATH_H

// The mathematical functions. Each takes a fixed number of argument
// positions (fewer is "#SYNTAX!"), applies element by element over ranges
// and arrays, and gives the largest error among its arguments; a result
// that is not a usable number (infinite, NaN, denormal) is "#NUM!".

class EvalState;

// fn_math.cpp: functions of one or two numbers.
void FnAbs(EvalState& state);
void FnAcos(EvalState& state);
void FnAcosh(EvalState& state);
void FnAsin(EvalState& state);
void FnAsinh(EvalState& state);
void FnAtan(EvalState& state);
void FnAtan2(EvalState& state);
void FnAtanh(EvalState& state);
void FnCombin(EvalState& state);
void FnCombin2(EvalState& state);
void FnCos(EvalState& state);
void FnCosh(EvalState& state);
void FnDegrees(EvalState& state);
void FnExp(EvalState& state);
void FnFact(EvalState& state);
void FnFactDouble(EvalState& state);
void FnLn(EvalState& state);
void FnLog(EvalState& state);
void FnLog10(EvalState& state);
void FnPi(EvalState& state);
void FnMod(EvalState& state);
void FnPower(EvalState& state);
void FnQuotient(EvalState& state);
void FnRadians(EvalState& state);
void FnSign(EvalState& state);
void FnSin(EvalState& state);
void FnSinh(EvalState& state);
void FnSqrt(EvalState& state);
void FnSqrtPi(EvalState& state);
void FnTan(EvalState& state);
void FnTanh(EvalState& state);

// fn_rounding.cpp: rounding to digits, multiples and integers.
void FnCeiling(EvalState& state);
void FnEven(EvalState& state);
void FnFloor(EvalState& state);
void FnInt(EvalState& state);
void FnMRound(EvalState& state);
void FnOdd(EvalState& state);
void FnRound(EvalState& state);
void FnRoundDown(EvalState& state);
void FnRoundUp(EvalState& state);
void FnTrunc(EvalState& state);

// fn_series.cpp: a power series over a range, and a random number between
// two bounds.
void FnRandBetween(EvalState& state);
void FnSeriesSum(EvalState& state);

#endif
