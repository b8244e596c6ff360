#ifndef TALVERO_CORE_FORMULA_CHARS_H
#define TALVERO_CORE_FORMULA_CHARS_H

// Character classes of the formula language. They are those of the C locale
// on purpose: a formula must read the same whatever the code page, so letters
// beyond ASCII never start or continue a name (such names are quoted).

#include "core/base/global_options.h"
#include "core/numfmt/regional_settings.h"

inline bool IsFormulaLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsFormulaDigit(char c) { return c >= '0' && c <= '9'; }
// Characters that continue a bare name (worksheet paths use "\").
inline bool IsNameChar(char c) {
  return IsFormulaLetter(c) || IsFormulaDigit(c) || c == '_' || c == '\\';
}
// Skipped between tokens.
inline bool IsFormulaBlank(char c) { return c == ' ' || c == '\r' || c == '\n'; }

inline const char* SkipFormulaBlanks(const char* p) {
  while (IsFormulaBlank(*p)) ++p;
  return p;
}

// The separators of a form: stored formulas use the generic ones.
inline const RegionalSettings& FormSeparators(bool storedForm) {
  return storedForm ? kGenericRegionalSettings : CurrentRegionalSettings();
}

// Whether the form writes and reads A1 references.
inline bool FormUsesA1(bool storedForm) { return !storedForm && AddressingA1 != 0; }

#endif
