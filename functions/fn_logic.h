#ifndef TALVERO_FUNCTIONS_FN_LOGIC_H
#define TALVERO_FUNCTIONS_FN_LOGIC_H

// The logical and information functions. There are no truth values: a value
// is true when it reads as an integer of 1 or more (0.5 rounds to 1), false
// at 0, and a negative number or a text that spells no number is "#NUM!";
// the answers are the numbers 1 and 0.

class EvalState;

// fn_logic.cpp
void FnAnd(EvalState& state);
void FnFalse(EvalState& state);
void FnIf(EvalState& state);
void FnNot(EvalState& state);
void FnOr(EvalState& state);
void FnTrue(EvalState& state);

// fn_information.cpp: what kind of value an argument is.
void FnErrorType(EvalState& state);
void FnIsBlank(EvalState& state);
void FnIsErr(EvalState& state);
void FnIsError(EvalState& state);
void FnIsEven(EvalState& state);
void FnIsLogical(EvalState& state);
void FnIsNa(EvalState& state);
void FnIsNonText(EvalState& state);
void FnIsNumber(EvalState& state);
void FnIsOdd(EvalState& state);
void FnIsRef(EvalState& state);
void FnIsText(EvalState& state);
void FnN(EvalState& state);
void FnNa(EvalState& state);
void FnType(EvalState& state);

#endif
