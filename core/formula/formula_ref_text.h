#ifndef TALVERO_CORE_FORMULA_REF_TEXT_H
#define TALVERO_CORE_FORMULA_REF_TEXT_H

// References as formulas write them: A1 corners ("$B$3", "B", "$3"), R1C1
// corners ("R3C2", "R[-1]C", "C2") relative to the formula's own cell, and
// whole references with worksheet and workbook qualifiers.

#include <cstddef>
#include <cstdint>

#include "core/base/bounded_text.h"
#include "core/formula/eval_value.h"
#include "core/formula/ref_corner.h"

class EvalState;

// Qualifier and reference text together stay below this many characters.
constexpr size_t kQualifiedRefCapacity = 256;
// The longest reference a qualifier can stand before: a range of two R1C1
// corners each as far from the formula's cell as the grid allows,
// "R[-2097151]C[-2046]:R[-2097151]C[-2046]"; A1 corners are shorter.
constexpr size_t kLongestCornerText = 19;
constexpr size_t kLongestReferenceText = 2 * kLongestCornerText + 1;
// The longest qualifier every reference can follow in either form: quoted,
// with its "!", below kQualifiedRefCapacity.
constexpr size_t kLongestQualifierText = kQualifiedRefCapacity - 1 - 3 - kLongestReferenceText;

// Read one corner at position; return its flags, 0 when the text there is
// not a reference (then corner and end are not written). A digit, a letter
// or "(" right after the corner makes it no reference ("A1B", "ABS(").
uint32_t ParseA1Reference(const char* position, RefCorner* corner, const char** end);
uint32_t ParseR1C1Reference(const EvalState& state, const char* position, RefCorner* corner,
                            const char** end);

// An R1C1 corner as written, before it is resolved against the formula's
// own cell: a relative part holds its distance, an absolute part its 0-based
// number (kRefOutsideGrid already set when that lies off the grid). A
// formula's text read once this way serves every cell it is evaluated in.
struct R1C1Corner {
  int32_t column;
  int32_t row;
  uint32_t flags;
  uint8_t bare;  // bit 0 the column, bit 1 the row: the own one, written without a number
};
// Reads one R1C1 corner as written; its flags, 0 when the text is not a
// reference. The flags a corner resolves to may add kRefOutsideGrid.
uint32_t ScanR1C1Corner(const char* position, R1C1Corner* written, const char** end);

// A part resolved against the formula's own row or column; the own one
// itself lies on the grid without a test.
inline uint32_t ResolveR1C1Part(int32_t value, uint32_t base, uint32_t limit, bool relative, bool bare,
                                uint32_t* flags) {
  if (!relative) return static_cast<uint32_t>(value);
  if (bare) return base;
  const int64_t target = int64_t(base) + value;
  if (target < 0 || target >= int64_t(limit)) *flags |= kRefOutsideGrid;
  // Kept modulo 2^32 so that the distance written back is the one read.
  return static_cast<uint32_t>(target);
}

inline RefCorner ResolveR1C1Corner(const R1C1Corner& written, uint32_t baseColumn, uint32_t baseRow) {
  uint32_t flags = written.flags;
  const uint32_t column = ResolveR1C1Part(written.column, baseColumn, kColumnCount,
                                          (flags & kRefColumnRelative) != 0, (written.bare & 1) != 0, &flags);
  const uint32_t row = ResolveR1C1Part(written.row, baseRow, kRowCount, (flags & kRefRowRelative) != 0,
                                       (written.bare & 2) != 0, &flags);
  return RefCorner{column, row, flags};
}

// Write one corner; false when the text does not fit.
bool FormatA1Reference(BoundedText& out, const RefCorner& corner);
bool FormatR1C1Reference(const EvalState& state, BoundedText& out, const RefCorner& corner);

// Writes the reference of range.first..range.second with its qualifiers:
// A1 in the display form when A1 addressing is on, else R1C1 relative to the
// evaluator's cell; "[file]sheet!" or "sheet!" before it when a sheet text is
// given (quoted when NeedsQuotes). A range whose corners name one cell is
// written as one corner unless isRange is set. False, the reference being
// unusable, when the qualifier cannot be written faithfully: qualifier and
// reference would reach kQualifiedRefCapacity characters, or the qualifier
// holds both quote characters; also when out overflows.
bool FormatFormulaRef(const EvalState& state, const char* fileName, const char* sheetText,
                      const EvalValue& range, BoundedText& out, bool storedForm, bool isRange);

// Whether a qualifier must be quoted to read back as itself: it is not empty
// and it is not one bare name (a letter or "\" first, then letters, digits,
// "_" and "\"), or it would read as a reference or a truth value.
bool NeedsQuotes(const char* text);

#endif
