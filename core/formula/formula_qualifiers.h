#ifndef TALVERO_CORE_FORMULA_QUALIFIERS_H
#define TALVERO_CORE_FORMULA_QUALIFIERS_H

// The sheet qualifiers a stored-form formula names: each text the sheet
// operator ("!") reads, as it reads it (quotes undone, blanks around it
// cut), with the characters of its token. Qualifiers of other workbooks
// ("[book]sheet") are not listed.

#include <cstdint>
#include <string>
#include <vector>

class EvalState;

struct FormulaQualifier {
  uint16_t start;
  uint16_t end;
  std::string text;
};

// The formula text begins with "=" or "+"; the evaluator only reads the
// tokens and is left reset.
std::vector<FormulaQualifier> SheetQualifiersOf(EvalState& state, const char* formula);

#endif
