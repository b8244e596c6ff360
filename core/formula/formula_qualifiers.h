#ifndef TALVERO_CORE_FORMULA_QUALIFIERS_H
#define TALVERO_CORE_FORMULA_QUALIFIERS_H

// The sheet qualifiers a stored-form formula names: each text the sheet
// operator ("!") reads, as it reads it (quotes undone, blanks around it
// cut). Qualifiers of other workbooks ("[book]sheet") are not listed.

#include <string>
#include <vector>

class EvalState;

// The formula text begins with "=" or "+"; the evaluator only reads the
// tokens and is left reset.
std::vector<std::string> SheetQualifiersOf(EvalState& state, const char* formula);

#endif
