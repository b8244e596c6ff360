#include "functions/fn_text.h"

#include <cstring>

#include "core/base/error_code.h"
#include "core/formula/eval_state.h"
#include "functions/aggregate_cells.h"
#include "functions/arg_readers.h"
#include "functions/array_result.h"
#include "functions/element_call.h"
#include "functions/plain_text_cell.h"
#include "functions/row_cell_args.h"
#include "functions/wildcard_match.h"
#include "platform/os_services.h"

namespace {

// The widest integer arguments the readers accept.
constexpr int32_t kIntMax = 2147483647;
constexpr int32_t kIntMin = -2147483647;

uint8_t Larger(uint8_t a, uint8_t b) { return a > b ? a : b; }

// Working buffers get only their terminator before GetArgText: an omitted
// position reads as the empty text, and clearing the whole pool's capacity
// per element would cost more than most texts.

// One-position functions that rewrite their text in place; transform
// returns the new length.
template <class Transform>
void RewriteText(EvalState& state, Transform transform) {
  if (!BeginElementCall(state, 1)) return;
  char text[kArgTextCapacity];
  text[0] = '\0';
  const uint8_t error = GetArgText(state, FirstArg(state), text);
  const size_t length = transform(text, std::strlen(text));
  SetTextOrError(state, text, length, error);
}

// LEFT and RIGHT: the text and a count n (0..2147483647, default 1).
uint8_t ReadTextAndCount(EvalState& state, char* text, size_t* length, int32_t* n) {
  *n = 1;
  const uint8_t countError = GetArgInt(state, ArgSlot(state, 1), n, 0, kIntMax);
  const uint8_t error = Larger(countError, GetArgText(state, ArgSlot(state, 0), text));
  *length = std::strlen(text);
  return error;
}

}  // namespace

void FnAsc(EvalState& state) {
  RewriteText(state, [](char*, size_t length) { return length; });
}

void FnChar(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  int32_t code = 0;
  const uint8_t error = GetArgInt(state, FirstArg(state), &code, 0, 255);
  const char text[2] = {static_cast<char>(code), '\0'};
  SetTextOrError(state, text, code > 0 ? 1 : 0, error);
}

// Only the control characters go: bytes 128..255 are letters and signs of
// the code page, and CHAR(CODE(x)) must give every byte back.
void FnClean(EvalState& state) {
  RewriteText(state, [](char* text, size_t length) {
    size_t kept = 0;
    for (size_t i = 0; i < length; ++i)
      if (static_cast<uint8_t>(text[i]) >= 32) text[kept++] = text[i];
    text[kept] = '\0';
    return kept;
  });
}

void FnCode(EvalState& state) {
  if (!BeginElementCall(state, 1)) return;
  char text[kArgTextCapacity];
  text[0] = '\0';
  const uint8_t error = GetArgText(state, FirstArg(state), text);
  SetNumberResult(state, static_cast<uint8_t>(text[0]), error);
}

void FnExact(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  char a[kArgTextCapacity];
  a[0] = '\0';
  char b[kArgTextCapacity];
  b[0] = '\0';
  uint8_t error = GetArgText(state, ArgSlot(state, 1), b);
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), a));
  SetNumberResult(state, std::strcmp(a, b) == 0 ? 1 : 0, error);
}

void FnFind(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  char search[kArgTextCapacity];
  search[0] = '\0';
  char within[kArgTextCapacity];
  within[0] = '\0';
  int32_t start = 1;
  uint8_t error = GetArgInt(state, ArgSlot(state, 2), &start, kIntMin, kIntMax);
  error = Larger(error, GetArgText(state, ArgSlot(state, 1), within));
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), search));
  double position = 0;
  if (error == kErrorNone) {
    const size_t length = std::strlen(within);
    const char* found = start >= 1 && static_cast<size_t>(start) <= length ? std::strstr(within + start - 1, search)
                                                                          : nullptr;
    if (found)
      position = static_cast<double>(found - within + 1);
    else
      error = kErrorValue;
  }
  SetNumberResult(state, position, error);
}

void FnLeft(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  char text[kArgTextCapacity];
  text[0] = '\0';
  size_t length = 0;
  int32_t n = 1;
  const uint8_t error = ReadTextAndCount(state, text, &length, &n);
  SetTextOrError(state, text, static_cast<size_t>(n) < length ? static_cast<size_t>(n) : length, error);
}

namespace {

// The bytes of a text before its first NUL; a short text is scanned in
// line, cheaper than the library call.
inline size_t LengthToNul(const char* text, size_t length) {
  if (length <= 16) {
    size_t n = 0;
    while (n < length && text[n] != '\0') ++n;
    return n;
  }
  const void* nul = std::memchr(text, '\0', length);
  return nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length;
}

// What LEN gives for a cell of a range: the length of its text up to the
// first NUL, as a copy would keep it, or of its value written out; 0 for
// an error, which the element carries.
size_t CellLength(EvalState& state, const ArgRange& range, const CellRecord* cell, uint8_t* error) {
  const char* text = nullptr;
  size_t length = 0;
  if (ReadPlainTextCell(state, cell, &text, &length)) {
    *error = 0;
    return LengthToNul(text, length);
  }
  char buffer[kArgTextCapacity];
  const CellValueView view = state.ViewCell(cell, range.sheet);
  *error = static_cast<uint8_t>(view.error);
  return view.error != kErrorNone ? 0 : CellValueText(view, buffer, &text);
}

// Ranges up to this many cells have their lengths gathered first, so that
// a range whose every cell exists without an error goes into the array in
// one bulk append.
constexpr uint32_t kGatheredLengths = 64;

// The first count elements of a range of the given width, in storage
// order, one at a time.
void AddGathered(ArrayBuilder& lengths, const double* gathered, uint32_t count, uint32_t columns) {
  for (uint32_t i = 0; i < count; ++i)
    if (!lengths.AddNumber(i % columns, i / columns, gathered[i], 0)) return;
}

// The lengths of a column read through the row index whose every row holds
// a plain text, the common column of texts, added in one bulk append
// without the checks the general gathering makes per cell. False, with
// nothing added, for any other column: reading plain texts notes nothing,
// so the general way may read it again.
bool GatherColumnOfTexts(EvalState& state, const ArgRange& range, ArrayBuilder& lengths) {
  double gathered[kGatheredLengths];
  const uint32_t rows = range.lastRow - range.firstRow + 1;
  for (uint32_t i = 0; i < rows; ++i) {
    const CellRecord* cell = IndexedColumnCellAt(*range.sheet, range.firstColumn, range.firstRow + i);
    const char* text = nullptr;
    size_t length = 0;
    if (!cell || !ReadPlainTextCell(state, cell, &text, &length)) return false;
    gathered[i] = double(LengthToNul(text, length));
  }
  lengths.AddNumbers(0, 0, 1, rows, gathered, 1);
  return true;
}

// LEN of a worksheet range: the array element-by-element application
// builds, an element per existing cell at its place, each what LEN of the
// cell's value gives, made without a call per cell. False, untouched, for
// any other argument.
bool SetLengthsOfRange(EvalState& state, uint16_t slot) {
  const EvalValue& value = state.operands[slot];
  if (value.kind != kEvalRange || value.error != kErrorNone || !EvalState::MayBroadcast()) return false;
  const uint32_t columns = value.second.column - value.first.column + 1;
  const uint32_t rows = value.second.row - value.first.row + 1;
  ArgRange range;
  bool byRows = false;
  // Every cell is measured, whatever the values.
  PendingGather::WalkScope measuring(state.pendingGather);
  TakeColumnOrRange(state, slot, &range, &byRows);
  ArrayBuilder lengths(state.arrays, &state.arrayElementsLeft);
  if (byRows && rows <= kGatheredLengths && rows <= state.arrayElementsLeft &&
      GatherColumnOfTexts(state, range, lengths)) {
    ReleaseArgRange(state, range);
    SetArrayResult(state, lengths, columns, rows);
    return true;
  }
  RangeCells walk(range, byRows);
  // Gathering views every cell before any is added: only where the element
  // budget cannot run out on the way, which would stop the views early.
  const uint64_t cells = uint64_t(columns) * rows;
  if (cells <= kGatheredLengths && cells <= state.arrayElementsLeft) {
    double gathered[kGatheredLengths];
    uint32_t count = 0;
    bool clean = true;
    while (const CellRecord* cell = walk.Next()) {
      uint8_t error = 0;
      gathered[count] = double(CellLength(state, range, cell, &error));
      // Cells come in storage order inside the range: with every one there
      // the k-th is element k.
      if (clean && !(error == 0 && cell->Column() - range.firstColumn == count % columns &&
                     cell->Row() - range.firstRow == count / columns)) {
        clean = false;
        AddGathered(lengths, gathered, count, columns);
      }
      if (!clean && !lengths.AddNumber(cell->Column() - range.firstColumn, cell->Row() - range.firstRow,
                                       gathered[count], error)) {
        state.pendingGather.Close();
        break;
      }
      ++count;
    }
    if (clean && count == cells)
      lengths.AddNumbers(0, 0, columns, rows, gathered, columns);
    else if (clean)
      AddGathered(lengths, gathered, count, columns);
  } else {
    while (const CellRecord* cell = walk.Next()) {
      uint8_t error = 0;
      const double length = double(CellLength(state, range, cell, &error));
      if (!lengths.AddNumber(cell->Column() - range.firstColumn, cell->Row() - range.firstRow, length, error)) {
        // Where room ran out may depend on the texts of cells not yet calculated.
        state.pendingGather.Close();
        break;
      }
    }
  }
  ReleaseArgRange(state, range);
  SetArrayResult(state, lengths, columns, rows);
  return true;
}

}  // namespace

void FnLen(EvalState& state) {
  if (ArgCount(state) == 1 && SetLengthsOfRange(state, FirstArg(state))) return;
  if (!BeginElementCall(state, 1)) return;
  // A text is measured where it stands, up to its first NUL as a copy
  // would be; other values are written out first.
  const uint16_t slot = FirstArg(state);
  const EvalValue& value = state.operands[slot];
  if (value.kind == kEvalText) {
    // The result clears the argument, its pool text with it.
    const uint16_t depth = state.OwnersAbove(slot, kEvalText);
    const size_t length = strnlen(state.strings.FromTop(depth), state.strings.LengthFromTop(depth));
    SetNumberResult(state, static_cast<double>(length), static_cast<uint8_t>(value.error));
    return;
  }
  char text[kArgTextCapacity];
  text[0] = '\0';
  const uint8_t error = GetArgText(state, FirstArg(state), text);
  SetNumberResult(state, static_cast<double>(std::strlen(text)), error);
}

void FnLower(EvalState& state) {
  RewriteText(state, [](char* text, size_t length) {
    OsLowerText(text, length);
    return length;
  });
}

void FnUpper(EvalState& state) {
  RewriteText(state, [](char* text, size_t length) {
    OsUpperText(text, length);
    return length;
  });
}

void FnMid(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  char text[kArgTextCapacity];
  text[0] = '\0';
  int32_t start = 1;
  int32_t count = 1;
  uint8_t error = GetArgInt(state, ArgSlot(state, 2), &count, kIntMin, kIntMax);
  error = Larger(error, GetArgInt(state, ArgSlot(state, 1), &start, kIntMin, kIntMax));
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), text));
  if (error == kErrorNone && (start < 1 || count < 0)) error = kErrorValue;
  const int64_t length = static_cast<int64_t>(std::strlen(text));
  const char* piece = "";
  int64_t pieceLength = 0;
  if (error == kErrorNone && start <= length) {
    const int64_t end = int64_t(start) - 1 + count;
    piece = text + start - 1;
    pieceLength = (end < length ? end : length) - (start - 1);
  }
  SetTextOrError(state, piece, static_cast<size_t>(pieceLength), error);
}

// Each letter after a character that is no letter becomes upper case, every
// other letter lower case: "o'neil 2nd" is "O'Neil 2Nd".
void FnProper(EvalState& state) {
  RewriteText(state, [](char* text, size_t length) {
    bool afterNonLetter = true;
    for (size_t i = 0; i < length; ++i) {
      const uint8_t c = static_cast<uint8_t>(text[i]);
      if (OsIsCharAlpha(c)) {
        text[i] = static_cast<char>(afterNonLetter ? OsCharUpper(c) : OsCharLower(c));
        afterNonLetter = false;
      } else {
        afterNonLetter = true;
      }
    }
    return length;
  });
}

void FnRight(EvalState& state) {
  if (!BeginElementCall(state, 2)) return;
  char text[kArgTextCapacity];
  text[0] = '\0';
  size_t length = 0;
  int32_t n = 1;
  const uint8_t error = ReadTextAndCount(state, text, &length, &n);
  const size_t kept = static_cast<size_t>(n) < length ? static_cast<size_t>(n) : length;
  SetTextOrError(state, text + length - kept, kept, error);
}

void FnSearch(EvalState& state) {
  if (!BeginElementCall(state, 3)) return;
  char search[kArgTextCapacity];
  search[0] = '\0';
  char within[kArgTextCapacity];
  within[0] = '\0';
  int32_t start = 1;
  uint8_t error = GetArgInt(state, ArgSlot(state, 2), &start, 1, 1024);
  error = Larger(error, GetArgText(state, ArgSlot(state, 1), within));
  error = Larger(error, GetArgText(state, ArgSlot(state, 0), search));
  double position = 0;
  if (error == kErrorNone) {
    const int32_t found =
        static_cast<size_t>(start) <= std::strlen(within) ? WildcardMatch(search, within + start - 1) : -1;
    if (found >= 0)
      position = static_cast<double>(start) + found;
    else
      error = kErrorValue;
  }
  SetNumberResult(state, position, error);
}

// Only blanks: leading and trailing ones go, inner runs become one blank;
// tabs and other white space stay.
void FnTrim(EvalState& state) {
  RewriteText(state, [](char* text, size_t length) {
    size_t kept = 0;
    for (size_t i = 0; i < length; ++i) {
      if (text[i] == ' ' && (kept == 0 || text[kept - 1] == ' ')) continue;
      text[kept++] = text[i];
    }
    if (kept > 0 && text[kept - 1] == ' ') --kept;
    text[kept] = '\0';
    return kept;
  });
}
