#ifndef TALVERO_CORE_SHEET_FORMAT_H
#define TALVERO_CORE_SHEET_FORMAT_H

// How a worksheet looks apart from its values: the style runs, the width and
// style of each column and the height of each row. A cell's style is the
// style of the run covering it, else the style of its column.

#include <cstddef>
#include <cstdint>

#include "core/cells/cell_record.h"
#include "core/cells/row_table.h"
#include "core/styles/style_run_store.h"

class StyleTable;
struct StyleRecord;
struct FontRecord;

#pragma pack(push, 1)
struct ColumnRecord {
  static constexpr uint16_t kFixedWidth = 0x0001;
  static constexpr int kWidthShift = 1;
  static constexpr uint16_t kWidthMask = 0x1FFE;  // bits 1-12, 0 = the default width
  static constexpr uint16_t kStyleMask = 0x0FFF;  // bits 12-15 are flags, kept
  static constexpr uint16_t kFontHeightMask = 0x0FFF;
  static constexpr uint16_t kWidthFlagBits = 0xE000;

  // Bit 0 width fixed, bits 1-12 width, bits 13-15 flags (kept).
  uint16_t widthWord;
  // Bits 0-11 the column's style index.
  uint16_t styleWord;
  // Bits 0-11 the column style's font height + 2 for automatic row heights;
  // 0 when the style uses the default font.
  uint16_t fontHeightWord;

  uint16_t Width() const { return static_cast<uint16_t>((widthWord & kWidthMask) >> kWidthShift); }
  bool WidthFixed() const { return (widthWord & kFixedWidth) != 0; }
  uint16_t Style() const { return static_cast<uint16_t>(styleWord & kStyleMask); }
  // Keeps the flag bits of the word.
  void SetStyle(uint16_t style) { styleWord = static_cast<uint16_t>((styleWord & ~kStyleMask) | (style & kStyleMask)); }
  // Keeps the flag bits 13-15.
  void SetWidth(uint16_t width, bool fixed) {
    widthWord = static_cast<uint16_t>((widthWord & kWidthFlagBits) | ((width << kWidthShift) & kWidthMask) |
                                      (fixed ? kFixedWidth : 0));
  }
};
#pragma pack(pop)
static_assert(sizeof(ColumnRecord) == 6, "a column record is 6 bytes");
static_assert(offsetof(ColumnRecord, widthWord) == 0, "");
static_assert(offsetof(ColumnRecord, styleWord) == 2, "");
static_assert(offsetof(ColumnRecord, fontHeightWord) == 4, "");

// The format's error byte, left by the last failed operation.
enum SheetFormatError : uint8_t {
  kSheetFormatNoError = 0,
  kSheetFormatOutOfMemory = 1,
  // An empty or reversed span, a span off the grid, or a format given as its
  // own source or target.
  kSheetFormatBadRange = 2,
  // The target style table holds no room for a pasted style or font.
  kSheetFormatStyleTableFull = 3,
};

class SheetFormat {
 public:
  // No runs, column records and row table cleared, cached sizes 0.
  SheetFormat() = default;
  ~SheetFormat() { Destroy(); }
  SheetFormat(const SheetFormat&) = delete;
  SheetFormat& operator=(const SheetFormat&) = delete;

  // Unlinks every run block (freed when free is set, else pooled), clears the
  // column records and empties the row table (whose pages, when free is set,
  // stay in its pool for the next rows). The cached sizes belong to the view.
  void Clear(bool free);
  // Releases everything: index pages, run blocks, the pool and the row table.
  void Destroy();
  // Replaces this format's runs, column records and row table by copies of
  // source's, taking run blocks from source's pool first. False on a failed
  // allocation, with this format cleared. Copies INTO this format, as
  // CellStore::CopyFrom does.
  bool CopyFrom(SheetFormat* source);
  // Exchanges the runs, column records, row tables and cached sizes of two
  // formats; cannot fail.
  void SwapContents(SheetFormat& other);

  // The style of a cell: the run covering it, else its column's style. The
  // cursor (optional) lets a caller going along a row continue from the last run.
  uint16_t CellStyle(uint32_t row, uint16_t column, CellCursor* cursor = nullptr) const;

  // Structural edits for first..last. Inserting rows moves runs and row
  // records down (what passes the last row is dropped); false, with nothing
  // changed, when the row table cannot grow. Inserted rows and columns take
  // the default sizes; rows keep their flag bits 13-15.
  bool InsertRows(uint32_t firstRow, uint32_t lastRow);
  bool DeleteRows(uint32_t firstRow, uint32_t lastRow);
  bool InsertColumns(uint16_t firstColumn, uint16_t lastColumn);
  bool DeleteColumns(uint16_t firstColumn, uint16_t lastColumn);

  // A snapshot of a rectangle's formats into target (cleared first): the runs
  // meeting the rectangle cut to its columns (same rows and columns), the
  // column records of its columns (same columns), and each fixed row height
  // at row - firstRow. False after clearing target when memory runs out.
  bool CopyRect(uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow, SheetFormat* target,
                CellCursor* cursor);
  // Tiles the source rectangle's formats over the target rectangle of this
  // format: runs (cut at the rectangle's edges), column records when the
  // rectangle spans whole columns, and row heights. With sourceStyles, every
  // style (and its font) is re-registered in styles and the runs and columns
  // take the indexes found there. False when the rectangle cannot be
  // cleared, a run cannot be inserted or the style table is full.
  bool PasteFormat(StyleTable* styles, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow, uint32_t lastRow,
                   uint16_t sourceFirstColumn, uint16_t sourceLastColumn, uint32_t sourceFirstRow,
                   uint32_t sourceLastRow, const SheetFormat& source, const StyleTable* sourceStyles);

  // For the format dialog's mixed states: the style and font of the
  // rectangle's first cell, and marks[kStyleMarkCount] folded over every
  // distinct style the rectangle's cells take (kMarkAgree where all agree,
  // kMarkMixed where they differ). Indexes beyond the table mean entry 0.
  void CompareStylesInRange(const StyleTable& table, uint16_t firstColumn, uint16_t lastColumn, uint32_t firstRow,
                            uint32_t lastRow, StyleRecord* style, FontRecord* font, uint8_t* marks) const;

  // The runs' invariants and the row table's; for tests and debugging.
  bool CheckInvariants(char* message = nullptr, size_t capacity = 0) const;

  uint8_t LastError() const { return lastError_; }

  // The largest column font height (bits 0-11 of the columns' font-height
  // words), which every row that is not fixed rises to. Kept until
  // ColumnsChanged, which every writer of column records calls; the format's
  // own operations do.
  uint16_t MaxColumnFontHeight() const;
  void ColumnsChanged() { maxColumnFontHeight_ = kFontHeightUnknown; }

  StyleRunStore runs;
  ColumnRecord columns[kColumnCount] = {};
  RowTable rows;
  // Written by the view's geometry; 0 until it computes them.
  uint16_t defaultColumnWidth = 0;
  uint16_t defaultRowHeight = 0;

 private:
  bool PasteRows(uint32_t firstRow, uint32_t lastRow, const RowTable& source, uint32_t sourceHeight);

  static constexpr uint16_t kFontHeightUnknown = 0xFFFF;

  uint8_t lastError_ = kSheetFormatNoError;
  mutable uint16_t maxColumnFontHeight_ = kFontHeightUnknown;
};

#endif
