#ifndef TALVERO_CORE_FORMULA_FORMULA_FORM_LENGTHS_H
#define TALVERO_CORE_FORMULA_FORMULA_FORM_LENGTHS_H

// A formula is kept in the stored form and shown, and typed again, in the
// display form: with A1 references or R1C1 ones as the addressing option
// says, its sheet qualifiers and texts quoted. A formula a user can see can
// be entered again only when each of these texts fits a formula, and so
// does the stored text that typing the shown one back makes (a lone whole
// column or row, shown "A:A", comes back as a range).

#include <cstddef>
#include <cstdint>

class EvalState;

// The longest of the formula's texts: the stored one (length characters,
// no NUL needed), its display forms in A1 and in R1C1 for its own cell
// (column, row), and the stored texts these display forms are typed back
// as (whatever the separators, each the same length). Above
// kFormulaTextCapacity when one of them cannot be written at all. A text
// that is no formula is shown and typed as it is.
size_t LongestFormulaForm(EvalState& translator, const char* stored, size_t length, uint32_t column,
                          uint32_t row);

#endif
