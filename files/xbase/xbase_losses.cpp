#include "files/xbase/xbase_losses.h"

#include <cstring>
#include <vector>

#include "core/edit/cell_display_text.h"
#include "core/workbook/workbook.h"
#include "files/text/text_conversion.h"
#include "files/xbase/xbase_cell_value.h"
#include "files/xbase/xbase_values.h"

namespace {

// The widest field a number is written into: its length byte.
constexpr size_t kNumberFieldCapacity = 255;

// The reader puts a field's name, up to its first NUL, into the first row,
// over an empty cell as over any other.
bool NameGivesBack(const uint8_t* field, const CellRecord* cell) {
  const size_t nameLength = strnlen(reinterpret_cast<const char*>(field), kXBaseFieldNameSize - 1);
  const XBaseFieldValue value = XBaseValueOfCell(cell);
  if (!value.present || (value.isText && value.length == 0))
    return nameLength == 0;
  if (!value.isText || cell->ErrorCode() != 0)
    return false;
  return value.length == nameLength && std::memcmp(value.text, field, nameLength) == 0;
}

// A text in a character field comes back cut to the field's width and
// without blanks at its end.
bool CharactersGiveBack(const char* text, size_t length, size_t width) {
  return length <= width && (length == 0 || text[length - 1] != ' ');
}

enum NumberFate { kNumberKept, kNumberChanged, kNumberTooWide };

NumberFate NumberGivesBack(double number, size_t width, int decimals) {
  uint8_t digits[kNumberFieldCapacity];
  if (width == 0 || width > sizeof digits)
    return kNumberChanged;
  if (!PutXBaseNumber(digits, width, number, decimals))
    return kNumberTooWide;
  return ParseXBaseNumber(digits, width) == number ? kNumberKept : kNumberChanged;
}

// Whether a text comes back through the OEM character set as it is.
bool OemGivesBack(const char* text, size_t length) {
  char converted[kCellTextCapacity];
  if (length > sizeof converted)
    length = sizeof converted;
  std::memcpy(converted, text, length);
  AnsiToOemInPlace(converted, length);
  OemToAnsiInPlace(converted, length);
  return std::memcmp(converted, text, length) == 0;
}

// Only a date as the reader spells it ("yyyy-mm-dd") comes back the same.
bool DateGivesBack(const XBaseFieldValue& value) {
  char text[16];
  if (!value.isText || value.length >= sizeof text)
    return false;
  std::memcpy(text, value.text, value.length);
  text[value.length] = '\0';
  char digits[16];
  char iso[16];
  return XBaseDateDigits(text, digits) && ParseXBaseDate(reinterpret_cast<const uint8_t*>(digits), iso) == kXBaseDate &&
         std::strcmp(iso, text) == 0;
}

class LossFinder {
 public:
  LossFinder(const CWorkBook& book, const CWorkSheet& sheet, const XBaseTable& table)
      : book_(book), sheet_(sheet), table_(table), fields_(XBaseFieldCount(table)) {}

  XBaseLosses Find() {
    std::vector<bool> named(fields_, false);
    std::vector<bool> unfielded(kColumnCount, false);
    ForEachRecord(sheet_.cells, [&](const CellRecord& cell) {
      if (cell.Column() >= fields_) {
        if (XBaseValueOfCell(&cell).present && !unfielded[cell.Column()]) {
          unfielded[cell.Column()] = true;
          if (losses_.unfieldedColumns++ == 0 || cell.Column() < losses_.firstUnfielded)
            losses_.firstUnfielded = cell.Column();
        }
        return true;
      }
      const uint8_t* field = XBaseFieldAt(table_, cell.Column());
      if (cell.Row() == 0) {
        named[cell.Column()] = true;
        losses_.firstRow = losses_.firstRow || !NameGivesBack(field, &cell);
      } else if (!ValueGivesBack(field, cell)) {
        losses_.values = true;
      }
      return true;
    });
    for (uint32_t i = 0; i < fields_; ++i)
      losses_.firstRow = losses_.firstRow || (!named[i] && !NameGivesBack(XBaseFieldAt(table_, i), nullptr));
    FindBlankFields();
    return losses_;
  }

 private:
  bool ValueGivesBack(const uint8_t* field, const CellRecord& cell) {
    const XBaseFieldValue value = XBaseValueOfCell(&cell);
    if (!value.present)
      return true;
    const bool error = cell.ErrorCode() != 0;
    const size_t width = XBaseFieldWidth(field, table_.dialect);
    switch (field[kXBaseFieldType]) {
      case 'C': {
        if (error)
          return false;
        if (value.isText)
          return TextGivesBack(cell, value.text, value.length, width);
        char text[kCellTextCapacity];
        const size_t length = XBaseNumberText(book_, sheet_, cell, &runCursor_, text);
        return TextGivesBack(cell, text, length, width);
      }
      case 'N':
      case 'F':
        return !error && !value.isText && NumberKept(cell, value.number, width, field[kXBaseFieldDecimals]);
      case 'Y':
        return !error && !value.isText && NumberKept(cell, value.number, width, kXBaseCurrencyDecimals);
      case 'I':
        return !error && !value.isText && NumberKept(cell, value.number, width, 0);
      case 'L':
        return !error && value.isText && value.length == 1 && (value.text[0] == 'Y' || value.text[0] == 'N');
      case 'D':
        // A field the reader found no date in goes back as the text it held.
        if (error)
          return cell.IsText() && cell.TextLength() <= width;
        return DateGivesBack(value);
      case 'M': {
        // Memo texts of FoxPro tables are not read back.
        if (error || table_.dialect == kXBaseFoxPro)
          return false;
        if (value.isText)
          NoteCharacters(cell, value.text, value.length);
        return true;
      }
      default:
        // Fields of the other types are written blank.
        return false;
    }
  }

  // A character field's text: one cut to its width or ending in blanks is
  // a field value lost; else its characters may not come back.
  bool TextGivesBack(const CellRecord& cell, const char* text, size_t length, size_t width) {
    if (!CharactersGiveBack(text, length, width))
      return false;
    NoteCharacters(cell, text, length);
    return true;
  }

  void NoteCharacters(const CellRecord& cell, const char* text, size_t length) {
    if (table_.codePage != kXBaseCodePageOem || OemGivesBack(text, length))
      return;
    if (losses_.characters++ == 0) {
      losses_.characterRow = cell.Row();
      losses_.characterColumn = cell.Column();
    }
  }

  bool NumberKept(const CellRecord& cell, double number, size_t width, int decimals) {
    const NumberFate fate = NumberGivesBack(number, width, decimals);
    if (fate == kNumberTooWide && !losses_.tooWide) {
      losses_.tooWide = true;
      losses_.tooWideRow = cell.Row();
      losses_.tooWideColumn = cell.Column();
    }
    return fate != kNumberChanged;
  }

  // Every row up to the last used one is a record, and a record's blank
  // field reads back as its type gives it: a number field as 0, a binary or
  // time field as its placeholder text.
  void FindBlankFields() {
    uint32_t lastRow = 0;
    if (!sheet_.cells.GetUsedRange(nullptr, nullptr, nullptr, &lastRow) || fields_ == 0)
      return;
    // The first row of each field not yet seen holding a value.
    std::vector<uint32_t> nextRow(fields_, 1);
    ForEachRecord(sheet_.cells, [&](const CellRecord& cell) {
      if (cell.Row() != 0 && cell.Column() < fields_ && XBaseValueOfCell(&cell).present) {
        Blanks(cell.Column(), nextRow[cell.Column()], cell.Row());
        nextRow[cell.Column()] = cell.Row() + 1;
      }
      return true;
    });
    for (uint32_t i = 0; i < fields_; ++i) Blanks(i, nextRow[i], lastRow + 1);
  }

  // The blank fields of column i in rows first to end, end excluded.
  void Blanks(uint32_t i, uint32_t first, uint32_t end) {
    if (first >= end)
      return;
    const uint8_t* field = XBaseFieldAt(table_, i);
    const uint8_t type = field[kXBaseFieldType];
    if (type == 'B' || type == 'G' || type == 'P' || type == 'T') {
      losses_.values = true;
      return;
    }
    if ((type != 'N' && type != 'F' && type != 'I' && type != 'Y') || XBaseFieldWidth(field, table_.dialect) == 0)
      return;
    const bool earlier = losses_.emptyNumbers == 0 || first < losses_.emptyRow ||
                         (first == losses_.emptyRow && i < losses_.emptyColumn);
    losses_.emptyNumbers += end - first;
    if (earlier) {
      losses_.emptyRow = first;
      losses_.emptyColumn = uint16_t(i);
    }
  }

  const CWorkBook& book_;
  const CWorkSheet& sheet_;
  const XBaseTable& table_;
  const uint32_t fields_;
  CellCursor runCursor_;
  XBaseLosses losses_;
};

}  // namespace

XBaseLosses FindXBaseLosses(const CWorkBook& book, const CWorkSheet& sheet, const XBaseTable& table) {
  return LossFinder(book, sheet, table).Find();
}
