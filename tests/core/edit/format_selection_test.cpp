#include "core/edit/format_selection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/allocation_limit.h"
#include "core/fake_text_measurer.h"
#include "core/workbook/workbook.h"
#include "test_seed.h"

namespace {

struct Book {
  std::unique_ptr<CWorkBook> book = std::make_unique<CWorkBook>();
  CWorkSheet* sheet = nullptr;

  Book() {
    EXPECT_TRUE(book->NewDocument());
    EXPECT_TRUE(book->undoHistory.SetLevels(20));
    sheet = book->activeWorksheet;
  }

  uint16_t AddStyle(uint32_t colour, uint8_t weight = 0, uint8_t sides = 0) {
    StyleRecord record = StyleRecord::Default();
    record.fontColorSet = colour != 0;
    record.fontColor = colour;
    record.borders.sides = sides;
    if (weight) {
      FontRecord font = book->styles.FontAt(0);
      font.weight = weight;
      EXPECT_TRUE(book->styles.FindOrAddFont(font, &record.fontIndex));
    }
    uint16_t index = 0;
    EXPECT_TRUE(book->styles.FindOrAddStyle(record, &index));
    return index;
  }
  // Runs never overlap: the span is cleared first.
  void Run(uint16_t first, uint16_t last, uint32_t row, uint16_t style) {
    ASSERT_TRUE(sheet->format.runs.ClearRect(first, last, row, row, nullptr, false));
    ASSERT_TRUE(sheet->format.runs.InsertRun({first, last, row, style}, nullptr));
  }
  const StyleRecord& StyleOf(uint32_t row, uint16_t column) const {
    return book->styles.StyleAt(sheet->format.CellStyle(row, column));
  }
  const FontRecord& FontOf(uint32_t row, uint16_t column) const {
    return book->styles.FontAt(StyleOf(row, column).fontIndex);
  }
  bool Apply(FormatSelection s, int kind, const StyleRecord& style, const FontRecord& font,
             const TextMeasurer* measurer = nullptr) {
    return ApplyFormatToSelection(book.get(), s, kind, style, font, measurer);
  }
  uint32_t RunCount() const {
    uint32_t count = 0;
    CellCursor walk;
    walk.flags = kCursorAfterRecord;
    while (sheet->format.runs.FindFirstInRect(&walk, 0, kMaxColumn, 0, kMaxRow)) ++count;
    return count;
  }
};

FormatSelection Cells(uint16_t c1, uint16_t c2, uint32_t r1, uint32_t r2) { return {c1, c2, r1, r2, c1, r1}; }
FormatSelection Columns(uint16_t c1, uint16_t c2) { return {c1, c2, 0, kMaxRow, c1, 0}; }

StyleRecord Cleared() {
  StyleRecord style;
  std::memset(&style, 0, sizeof style);
  return style;
}

// The formats a user sees, byte for byte: each cell's style record (its font
// index replaced by the font's bytes) over a window and the grid's last
// rows, and the column records.
std::string Formats(const Book& b) {
  std::string out;
  const auto cell = [&](uint32_t row, uint16_t column) {
    StyleRecord style = b.StyleOf(row, column);
    const FontRecord& font = b.book->styles.FontAt(style.fontIndex);
    style.fontIndex = 0;
    out += std::to_string(std::hash<std::string>()(std::string(reinterpret_cast<const char*>(&style), sizeof style) +
                                                   std::string(reinterpret_cast<const char*>(&font), sizeof font)) %
                          100000) +
           " ";
  };
  for (uint32_t row : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, kMaxRow - 1, kMaxRow}) {
    for (uint16_t column = 0; column < 12; ++column) cell(row, column);
    out += "\n";
  }
  for (uint16_t column = 0; column < 12; ++column) out += std::to_string(b.sheet->format.columns[column].widthWord) + ",";
  return out;
}

TEST(FormatSelection, BoldWholeColumnKeepsDifferingRunsAndDropsRunsEqualToTheColumn) {
  Book b;
  const uint16_t red = b.AddStyle(0xFF);
  const uint16_t blue = b.AddStyle(0xFF0000);
  const uint16_t redBold = b.AddStyle(0xFF, kFontWeightBold);
  b.sheet->format.columns[2].SetStyle(red);
  b.Run(2, 2, 5, blue);
  b.Run(1, 3, 7, redBold);
  FontRecord bold = b.book->styles.FontAt(0);
  bold.weight = kFontWeightBold;

  ASSERT_TRUE(b.Apply(Columns(2, 2), kApplyWeight, StyleRecord::Default(), bold));
  const StyleTable& styles = b.book->styles;
  const StyleRecord& column = styles.StyleAt(b.sheet->format.columns[2].Style());
  EXPECT_EQ(kFontWeightBold, styles.FontAt(column.fontIndex).weight);
  EXPECT_EQ(0xFFu, column.fontColor + 0u);
  // The blue run stays, bold and blue.
  EXPECT_EQ(kFontWeightBold, b.FontOf(5, 2).weight);
  EXPECT_EQ(0xFF0000u, b.StyleOf(5, 2).fontColor + 0u);
  // The run that equals the column's new style is gone from column 2 only.
  EXPECT_EQ(nullptr, b.sheet->format.runs.FindRun(7, 2));
  ASSERT_NE(nullptr, b.sheet->format.runs.FindRun(7, 1));
  ASSERT_NE(nullptr, b.sheet->format.runs.FindRun(7, 3));
  EXPECT_EQ(kFontWeightBold, b.FontOf(kMaxRow, 2).weight);
  EXPECT_EQ(0, b.FontOf(100, 1).weight);
  EXPECT_EQ(3u, b.RunCount());
  EXPECT_TRUE(b.sheet->format.CheckInvariants());
}

TEST(FormatSelection, WholeRowsDropRunsThatBecomeTheDefault) {
  Book b;
  const uint16_t bold = b.AddStyle(0, kFontWeightBold);
  const uint16_t redBold = b.AddStyle(0xFF, kFontWeightBold);
  b.Run(3, 4, 4, bold);
  b.Run(6, 6, 5, redBold);
  const FontRecord normal = b.book->styles.FontAt(0);
  ASSERT_TRUE(b.Apply({0, kMaxColumn, 4, 5, 0, 4}, kApplyWeight, StyleRecord::Default(), normal));
  EXPECT_EQ(nullptr, b.sheet->format.runs.FindRun(4, 3));
  ASSERT_NE(nullptr, b.sheet->format.runs.FindRun(5, 6));
  EXPECT_EQ(0xFFu, b.StyleOf(5, 6).fontColor + 0u);
  EXPECT_EQ(0, b.FontOf(5, 6).weight);
  EXPECT_EQ(1u, b.RunCount());
}

// The sides each cell of an outline gets: the outer edges of the selection.
uint8_t OutlineSides(const FormatSelection& s, uint32_t row, uint16_t column) {
  if (row < s.firstRow || row > s.lastRow || column < s.firstColumn || column > s.lastColumn)
    return 0xFF;  // outside: untouched
  uint8_t sides = 0;
  if (row == s.firstRow) sides |= kBorderTop;
  if (row == s.lastRow) sides |= kBorderBottom;
  if (column == s.firstColumn) sides |= kBorderLeft;
  if (column == s.lastColumn) sides |= kBorderRight;
  return sides;
}

TEST(FormatSelection, OutlineLaysTheBorderOnTheOuterEdgesOnly) {
  const struct {
    const char* name;
    FormatSelection selection;
  } cases[] = {
      {"one cell", Cells(3, 3, 4, 4)},
      {"one row", Cells(2, 6, 4, 4)},
      {"one column", Cells(3, 3, 2, 7)},
      {"two by two", Cells(2, 3, 4, 5)},
      {"block", Cells(1, 6, 2, 8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Book b;
    // Every cell starts with all four sides, so the outline must take the
    // inner ones away.
    const uint16_t boxed = b.AddStyle(0x123456, 0, kBorderTop | kBorderBottom | kBorderLeft | kBorderRight);
    for (uint32_t row = 0; row < 11; ++row) b.Run(0, 9, row, boxed);
    StyleRecord line = Cleared();
    line.borders.line.style = 8;
    line.borders.line.colorSet = 1;
    line.borders.line.color = 0xFF;
    ASSERT_TRUE(b.Apply(c.selection, kApplyOutline, line, b.book->styles.FontAt(0)));
    for (uint32_t row = 0; row < 11; ++row)
      for (uint16_t column = 0; column < 10; ++column) {
        const uint8_t want = OutlineSides(c.selection, row, column);
        const StyleRecord& style = b.StyleOf(row, column);
        SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
        EXPECT_EQ(want == 0xFF ? 15 : want, style.borders.sides);
        EXPECT_EQ(0x123456u, style.fontColor + 0u);
        if (want != 0xFF && want != 0) {
          EXPECT_EQ(8, style.borders.line.style);
        }
      }
  }
}

TEST(FormatSelection, OutlineOfWholeColumnsWalksNoRows) {
  Book b;
  StyleRecord line = Cleared();
  line.borders.line.style = 1;
  ASSERT_TRUE(b.Apply(Columns(2, 4), kApplyOutline, line, b.book->styles.FontAt(0)));
  const FormatSelection s = Columns(2, 4);
  for (uint32_t row : {0u, 1u, 500u, kMaxRow - 1, kMaxRow})
    for (uint16_t column = 1; column <= 5; ++column) {
      const uint8_t want = OutlineSides(s, row, column);
      EXPECT_EQ(want == 0xFF ? 0 : want, b.StyleOf(row, column).borders.sides) << row << " " << column;
    }
  // Runs stand only in the first and the last row.
  EXPECT_LE(b.RunCount(), 6u);
}

TEST(FormatSelection, UndoGivesBackTheFormatsByteForByteAndRedoTheChange) {
  const uint32_t seed = TestSeed(4412);
  SCOPED_TRACE(SeedTrace(seed));
  std::mt19937 random(seed);
  Book b;
  std::vector<uint16_t> styles;
  for (uint32_t i = 0; i < 6; ++i)
    styles.push_back(b.AddStyle(random() % 0xFFFFFF, uint8_t(random() % 3), uint8_t(random() % 64)));
  for (uint32_t i = 0; i < 40; ++i) {
    const uint16_t first = uint16_t(random() % 10);
    b.Run(first, uint16_t(first + random() % 3), random() % 13, styles[random() % styles.size()]);
  }
  for (uint16_t column = 0; column < 12; column += 3) b.sheet->format.columns[column].SetStyle(styles[column % 6]);
  b.Run(1, 5, kMaxRow, styles[2]);

  const int kinds[] = {kApplyWeight, kApplyFontColor, kApplyBorders, kApplyOutline, kApplyInterior,
                       kApplyAlignment, kApplyUserNumberFormat, kApplyWholeFont};
  for (int round = 0; round < 30; ++round) {
    const uint16_t c1 = uint16_t(random() % 10);
    const uint16_t c2 = uint16_t(c1 + random() % 3);
    const uint32_t r1 = random() % 12;
    const uint32_t r2 = r1 + random() % 4;
    const FormatSelection s = random() % 4 == 0 ? Columns(c1, c2) : Cells(c1, c2, r1, r2);
    const int kind = kinds[random() % (sizeof kinds / sizeof kinds[0])];
    SCOPED_TRACE("round " + std::to_string(round) + " kind " + std::to_string(kind));
    StyleRecord style = Cleared();
    style.fontColorSet = 1;
    style.fontColor = random();
    style.borders.sides = uint8_t(random() % 64);
    style.borders.line.style = uint8_t(1 + random() % 9);
    style.interior.pattern = uint8_t(random() % 23);
    style.alignment.horizontal = uint8_t(random() % 4);
    style.numFormat.category = kNumFormatUserPattern;
    std::snprintf(style.numFormat.code, sizeof style.numFormat.code, "0.%u", unsigned(random() % 100));
    FontRecord font = b.book->styles.FontAt(0);
    font.weight = uint8_t(random() % 3);
    font.size = uint8_t(8 + random() % 10);

    const std::string before = Formats(b);
    ASSERT_TRUE(b.Apply(s, kind, style, font));
    const std::string after = Formats(b);
    ASSERT_TRUE(b.book->UndoStep());
    ASSERT_EQ(before, Formats(b));
    ASSERT_TRUE(b.book->RedoStep());
    ASSERT_EQ(after, Formats(b));
    ASSERT_TRUE(b.sheet->format.CheckInvariants());
  }
}

// Runs in many blocks, so that every way of applying needs blocks at
// several points: each failure must leave formats and history as they were.
TEST(FormatSelection, RunningOutOfMemoryChangesNothing) {
  const struct {
    const char* name;
    FormatSelection selection;
    int kind;
  } cases[] = {
      {"block", Cells(1, 30, 3, 390), kApplyWeight},
      {"whole columns", Columns(3, 9), kApplyWeight},
      {"outline", Cells(2, 33, 5, 380), kApplyOutline},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Book b;
    const uint16_t red = b.AddStyle(0x0000FF);
    const uint16_t blue = b.AddStyle(0xFF0000);
    for (uint32_t row = 0; row < 400; ++row)
      for (uint16_t column = 0; column < 40; column += 4)
        b.Run(column, uint16_t(column + 1 + row % 2), row, (row + column) % 3 ? red : blue);
    StyleRecord style = Cleared();
    style.borders.line.style = 1;
    FontRecord font = b.book->styles.FontAt(0);
    font.weight = kFontWeightBold;
    const std::string before = Formats(b);
    const int32_t step = b.book->undoHistory.Current();
    bool applied = false;
    for (int granted = 0; granted < 400 && !applied; ++granted) {
      SCOPED_TRACE("blocks granted " + std::to_string(granted));
      {
        AllocationLimit limit(granted);
        applied = b.Apply(c.selection, c.kind, style, font);
      }
      ASSERT_TRUE(b.sheet->format.CheckInvariants());
      ASSERT_TRUE(b.book->undoHistory.CheckInvariants());
      if (!applied) {
        ASSERT_EQ(kWorkbookOutOfMemory, b.book->error);
        ASSERT_EQ(step, b.book->undoHistory.Current());
        ASSERT_EQ(before, Formats(b));
      }
    }
    ASSERT_TRUE(applied);
    EXPECT_EQ(step + 1, b.book->undoHistory.Current());
    ASSERT_TRUE(b.book->UndoStep());
    EXPECT_EQ(before, Formats(b));
  }
}

TEST(FormatSelection, FullStyleTableChangesNothing) {
  Book b;
  for (uint32_t row = 0; row < 20; ++row) b.Run(0, 4, row, b.AddStyle(row + 1));
  uint32_t colour = 1000;
  while (b.book->styles.styleCount < StyleTable::kMaxStyles - 5) b.AddStyle(colour++);
  // Keep the filler styles in use, so compacting does not make room.
  for (uint32_t row = 20; row < 20 + StyleTable::kMaxStyles; ++row) b.Run(7, 7, row, uint16_t(row - 19));
  FontRecord font = b.book->styles.FontAt(0);
  font.weight = kFontWeightBold;
  const std::string before = Formats(b);
  const int32_t step = b.book->undoHistory.Current();
  for (const FormatSelection& s : {Cells(0, 4, 0, 19), Columns(0, 4)}) {
    EXPECT_FALSE(b.Apply(s, kApplyWeight, StyleRecord::Default(), font));
    EXPECT_EQ(kWorkbookTooManyStyles, b.book->error);
    EXPECT_EQ(step, b.book->undoHistory.Current());
    EXPECT_EQ(before, Formats(b));
  }
}

TEST(FormatSelection, FontSizeRefitsTheRowsThatHoldSomething) {
  Book b;
  uint8_t record[64];
  ASSERT_NE(0u, BuildTextCell(record, sizeof record, 3, 1, "text", 4));
  ASSERT_TRUE(b.sheet->cells.InsertCell(AsCellRecord(record), nullptr));
  FakeTextMeasurer measurer;
  FontRecord font = b.book->styles.FontAt(0);
  font.size = 20;
  ASSERT_TRUE(b.Apply(Columns(1, 1), kApplyFontSize, StyleRecord::Default(), font, &measurer.Measurer()));
  // The row of the text rises to the new font; the table ends with it.
  const uint16_t* height = b.sheet->format.rows.At(3);
  ASSERT_NE(nullptr, height);
  EXPECT_GE((*height & RowTable::kHeightMask) >> RowTable::kHeightShift, 40);
  EXPECT_EQ(4u, b.sheet->format.rows.Count());
  // Borders change no text extent: no row is refitted.
  ASSERT_TRUE(b.Apply(Cells(1, 1, 3, 9), kApplyBorders, StyleRecord::Default(), font, &measurer.Measurer()));
  EXPECT_EQ(4u, b.sheet->format.rows.Count());
}

}  // namespace
