#ifndef TALVERO_FUNCTIONS_FN_ENGINEERING_H
#define TALVERO_FUNCTIONS_FN_ENGINEERING_H

// The engineering functions of the library: base conversions, step
// comparisons and complex numbers. Each takes a fixed number of argument
// positions (fewer is "#SYNTAX!") except IMSUM and IMPRODUCT, which take one
// or more; a range or an array where a single value is read applies the
// function element by element; the largest argument error wins.

class EvalState;

// fn_base_conversion.cpp: binary, octal, hexadecimal and decimal. The
// conversions to a base take a second position, the number of places.
void FnBin2Dec(EvalState& state);
void FnBin2Hex(EvalState& state);
void FnBin2Oct(EvalState& state);
void FnDec2Bin(EvalState& state);
void FnDec2Hex(EvalState& state);
void FnDec2Oct(EvalState& state);
void FnHex2Bin(EvalState& state);
void FnHex2Dec(EvalState& state);
void FnHex2Oct(EvalState& state);
void FnOct2Bin(EvalState& state);
void FnOct2Dec(EvalState& state);
void FnOct2Hex(EvalState& state);

// fn_step_compare.cpp: exact comparisons of two numbers giving 1 or 0.
void FnDelta(EvalState& state);
void FnGetStep(EvalState& state);

// fn_complex.cpp: complex numbers travel as texts ("3 - 4i"); results are
// written with the unit "i", and a part that is not a finite normal number
// makes the result "#NUM!".
void FnComplex(EvalState& state);
void FnImAbs(EvalState& state);
void FnImaginary(EvalState& state);
void FnImArgument(EvalState& state);
void FnImConjugate(EvalState& state);
void FnImCos(EvalState& state);
void FnImDiv(EvalState& state);
void FnImExp(EvalState& state);
void FnImLn(EvalState& state);
void FnImLog10(EvalState& state);
void FnImLog2(EvalState& state);
void FnImPower(EvalState& state);
void FnImReal(EvalState& state);
void FnImSin(EvalState& state);
void FnImSqrt(EvalState& state);
void FnImSub(EvalState& state);

// fn_complex_sums.cpp: over any number of texts, numbers, ranges and arrays.
void FnImProduct(EvalState& state);
void FnImSum(EvalState& state);

#endif
