#ifndef TALVERO_FUNCTIONS_FN_LOOKUP_H
#define TALVERO_FUNCTIONS_FN_LOOKUP_H

// Lookup and reference functions. Searches walk the existing cells of a
// range or array in storage order and need no sorted data: match mode 1
// finds the largest value not above the lookup value, -1 the smallest not
// below it, 0 the first equal one (a text lookup value is then a wildcard
// pattern that must match the whole cell text). Among equal candidates the
// first in storage order wins. Texts compare letter case aside; a text
// never matches a number.

class EvalState;

// fn_lookup.cpp: searches.
void FnVLookup(EvalState& state);
void FnHLookup(EvalState& state);
void FnLookup(EvalState& state);
void FnMatch(EvalState& state);

// fn_reference.cpp: building and measuring references.
void FnAddress(EvalState& state);
void FnAreas(EvalState& state);
void FnColumns(EvalState& state);
void FnIndirect(EvalState& state);
void FnOffset(EvalState& state);
void FnRows(EvalState& state);

#endif
