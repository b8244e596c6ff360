#ifndef TALVERO_APP_CLIPBOARD_RANGE_TEXT_H
#define TALVERO_APP_CLIPBOARD_RANGE_TEXT_H

// A cell range as plain text for other programs: the rows from top to bottom
// separated by CR LF (none after the last), the cells of a row from left to
// right separated by one TAB (none after the last column); a cell is its
// text as the view shows it, an empty cell nothing, and a text holding a
// TAB, a double quote or a line end stands in double quotes with every inner
// quote doubled.

#include <cstddef>

class CWorkBook;
class CWorkSheet;
struct UndoRange;

// The text, NUL-terminated, in one std::malloc block that the owner frees.
struct RangeText {
  char* text = nullptr;
  size_t length = 0;

  RangeText() = default;
  ~RangeText();
  RangeText(const RangeText&) = delete;
  RangeText& operator=(const RangeText&) = delete;
};

// Room for a whole text, NUL included; larger texts are refused.
constexpr size_t kMaxRangeTextSize = size_t(1) << 30;

// The range of the worksheet as text. False when memory runs out or the
// text would pass kMaxRangeTextSize bytes; out then holds no text.
bool FormatRangeText(CWorkBook* book, CWorkSheet* sheet, const UndoRange& range, RangeText* out);

#endif
