#ifndef TALVERO_FUNCTIONS_FN_TEXT_H
#define TALVERO_FUNCTIONS_FN_TEXT_H

// The text functions. Each takes a fixed number of argument positions
// (fewer is "#SYNTAX!"), applies element by element when an argument is a
// range or an array, works on single-byte text, and gives the largest error
// among its arguments. Lengths and positions count bytes from 1.

class EvalState;

// fn_text.cpp: measuring, cutting, comparing and changing case.
void FnAsc(EvalState& state);
void FnChar(EvalState& state);
void FnClean(EvalState& state);
void FnCode(EvalState& state);
void FnExact(EvalState& state);
void FnFind(EvalState& state);
void FnLeft(EvalState& state);
void FnLen(EvalState& state);
void FnLower(EvalState& state);
void FnMid(EvalState& state);
void FnProper(EvalState& state);
void FnRight(EvalState& state);
void FnSearch(EvalState& state);
void FnTrim(EvalState& state);
void FnUpper(EvalState& state);

// fn_text_replace.cpp: texts that can grow, bounded to 1024 characters.
void FnReplace(EvalState& state);
void FnRept(EvalState& state);
void FnSubstitute(EvalState& state);

// fn_text_format.cpp: numbers to text through format codes, and back.
void FnDollar(EvalState& state);
void FnFixed(EvalState& state);
void FnText(EvalState& state);
void FnValue(EvalState& state);

#endif
