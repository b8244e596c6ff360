#ifndef TALVERO_CORE_REPLACE_IN_RANGE_H
#define TALVERO_CORE_REPLACE_IN_RANGE_H

// Find and replace over the cells of a range: each cell's text (a formula in
// display form, any other cell's value text) has every match of a wildcard
// pattern replaced, and a changed text is typed into the cell again.

#include <cstddef>
#include <cstdint>

#include "core/numfmt/num_format_params.h"

class CellStore;
class EvalState;
struct CellFormats;

// Replaces, from left to right, exactly the characters of each match (a "*"
// ending the pattern takes the rest of the text); the search goes on after
// the replaced part. With wholeText the pattern must match the whole text.
// *changed tells whether anything matched. False, with an empty buffer, when
// the result would pass min(size - 1, kMaxCellTextLength) characters.
bool ReplaceInText(const char* text, const char* pattern, const char* replacement, bool matchCase,
                   bool wholeText, char* buffer, size_t size, bool* changed);

struct ReplaceOutcome {
  uint32_t replaced;  // cells typed again
  // Cells left unchanged although the pattern matched: the result would pass
  // kMaxCellTextLength characters, or the cell's text is longer than that.
  uint32_t refused;
};

// Told, while the new cells are built and before any cell changes, of each
// cell whose new text implies another number format than the cell has
// ("5" replaced by "5%" makes it a percentage), as typing the text would.
// Returning false stops the replacement.
struct ImpliedFormatSink {
  bool (*take)(void* context, uint16_t column, uint32_t row, const NumFormatParams& format);
  void* context;
};

// The cells of the rectangle, in storage order; the values written by array
// formulas are results, not texts, and are left alone. A re-typed array
// formula keeps its extent. The new cells are built in a temporary store
// first, so that a shortage of memory there (or a refusal of the sink)
// changes nothing. False when memory runs out (a cell may then be left
// empty, as when typing) or the sink refused.
bool ReplaceInRange(EvalState& translator, CellStore& cells, const CellFormats& formats, uint16_t firstColumn,
                    uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, const char* pattern,
                    const char* replacement, bool matchCase, bool wholeText, ReplaceOutcome* outcome,
                    const ImpliedFormatSink* formatSink = nullptr);

#endif
