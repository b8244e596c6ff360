#include "files/text/text_losses.h"

#include <cstring>
#include <memory>

#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/workbook/workbook.h"
#include "files/text/text_conversion.h"
#include "files/text/text_field_value.h"

namespace {

enum HeldKind { kHeldNothing, kHeldNumber, kHeldText, kHeldError };

struct HeldValue {
  HeldKind kind = kHeldNothing;
  double number = 0;
  const char* text = "";
  size_t length = 0;
};

HeldValue ValueOf(const CellRecord& cell) {
  HeldValue value;
  if (cell.ErrorCode() != 0) {
    value.kind = kHeldError;
  } else if (cell.IsText()) {
    value = HeldValue{kHeldText, 0, cell.Text(), cell.TextLength()};
  } else if (cell.IsNumber()) {
    value = HeldValue{kHeldNumber, cell.Number(), "", 0};
  } else if (cell.HasCachedText()) {
    value = HeldValue{kHeldText, 0, cell.CachedText(), cell.CachedTextLength()};
  } else if (cell.ResultFlags() & kResultCachedNumber) {
    value = HeldValue{kHeldNumber, cell.CachedNumber(), "", 0};
  }
  return value;
}

class TextLossFinder {
 public:
  TextLossFinder(const CWorkBook& book, const CWorkSheet& sheet, const TextFileOptions& options)
      : book_(book), sheet_(sheet), options_(options) {}

  TextLosses Find() {
    if (options_.fixedWidth)
      for (uint16_t column = 0; column < kColumnCount && firstUnsized_ == kColumnCount; ++column)
        if (options_.widths[column] == 0)
          firstUnsized_ = column;
    ForEachRecord(sheet_.cells, [&](const CellRecord& cell) {
      Judge(cell);
      return true;
    });
    return losses_;
  }

 private:
  void Judge(const CellRecord& cell) {
    const uint32_t row = cell.Row();
    const uint16_t column = cell.Column();
    char text[kCellTextCapacity];
    const StyleRecord& style = book_.styles.StyleAt(sheet_.format.CellStyle(row, column, &styleCursor_));
    FormatCellDisplayText(cell, style.numFormat, text, sizeof text);
    size_t length = std::strlen(text);
    // A fixed field is cut to its width before anything else.
    if (options_.fixedWidth && options_.widths[column] != 0 && length > options_.widths[column])
      length = options_.widths[column];
    // A fixed field without a width takes the rest of its line: a field
    // after it in the row that writes more than blanks is read into it.
    if (pendingUnsized_ && pendingRow_ != row)
      pendingUnsized_ = false;
    if (pendingUnsized_ && WritesMoreThanBlanks(text, length)) {
      Lost(*pendingCell_);
      pendingUnsized_ = false;
    }
    // Unquoted, a line break ends the line early, so every later field
    // lands on a later line, and a separator splits its field, so every
    // later field of the row lands a column further on.
    const bool unquoted = options_.fixedWidth || options_.quote == '\0';
    const bool breaksLine = unquoted && (std::memchr(text, '\r', length) || std::memchr(text, '\n', length));
    const bool splits = !options_.fixedWidth && unquoted && std::memchr(text, options_.separator, length);
    const bool moved = linesMoved_ || (rowMoved_ && movedRow_ == row);
    linesMoved_ = linesMoved_ || breaksLine;
    if (splits) {
      rowMoved_ = true;
      movedRow_ = row;
    }
    if (moved || breaksLine || splits || (options_.fixedWidth && column > firstUnsized_)) {
      Lost(cell);
      return;
    }
    length = ConvertedBack(text, length);
    // The reader takes control characters as blanks.
    for (size_t i = 0; i < length; ++i)
      if (static_cast<uint8_t>(text[i]) < 32)
        text[i] = ' ';
    // Blanks at a fixed field's end are its padding.
    if (options_.fixedWidth)
      while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
    if (!ReadsBackAs(ValueOf(cell), text)) {
      Lost(cell);
      return;
    }
    if (options_.fixedWidth && column == firstUnsized_) {
      pendingUnsized_ = true;
      pendingRow_ = row;
      pendingCell_ = &cell;
    }
  }

  // Blanks and control characters (which the reader takes as blanks) up to
  // the end of the line are dropped with a fixed field's padding.
  static bool WritesMoreThanBlanks(const char* text, size_t length) {
    for (size_t i = 0; i < length && text[i] != '\r' && text[i] != '\n'; ++i)
      if (static_cast<uint8_t>(text[i]) > ' ')
        return true;
    return false;
  }

  // The text as it comes back through the file's character set: a
  // character the set lacks comes back as another.
  size_t ConvertedBack(char* text, size_t length) const {
    if (length > kConvertedUnits)
      length = kConvertedUnits;
    if (options_.charset == kTextCharsetUtf8) {
      char utf8[kUtf8TextCapacity];
      length = Utf8ToAnsi(utf8, AnsiToUtf8(text, length, utf8), text);
    } else if (options_.charset == kTextCharsetOem) {
      AnsiToOemInPlace(text, length);
      OemToAnsiInPlace(text, length);
    }
    text[length] = '\0';
    return length;
  }

  bool ReadsBackAs(const HeldValue& held, const char* text) const {
    const size_t length = std::strlen(text);
    if (length == 0)
      return held.kind == kHeldNothing || (held.kind == kHeldText && held.length == 0);
    double number = 0;
    switch (ReadTextFieldValue(text, options_.recognizeValues != 0, &number)) {
      case kTextFieldNumber:
        return held.kind == kHeldNumber && number == held.number;
      case kTextFieldText:
        return held.kind == kHeldText && held.length == length && std::memcmp(held.text, text, length) == 0;
      default:
        return held.kind == kHeldText && held.length == length && std::memcmp(held.text, text, length) == 0 &&
               EnteredAsItsText(text);
    }
  }

  // A field starting with "=" is read as typed input: a formula the
  // reader cannot take (it names a worksheet the file's one worksheet
  // does not know, say) stays the text it was.
  bool EnteredAsItsText(const char* text) const {
    if (!scratch_) {
      scratch_ = std::make_unique<CWorkBook>();
      if (!scratch_->NewDocument())
        return false;
    }
    alignas(8) uint8_t record[kCellInputCapacity];
    NumFormatParams format{};
    const uint32_t size = CWorkSheet::ParseCellInput(scratch_.get(), text, &format, 0, 0, record, sizeof record);
    if (size == 0)
      return false;
    const CellRecord& cell = *AsCellRecord(record);
    const size_t length = std::strlen(text);
    return cell.IsText() && cell.ErrorCode() == 0 && cell.TextLength() == length &&
           std::memcmp(cell.Text(), text, length) == 0;
  }

  void Lost(const CellRecord& cell) {
    const HeldValue held = ValueOf(cell);
    if (held.kind != kHeldNumber) {
      if (losses_.values++ == 0) {
        losses_.valueRow = cell.Row();
        losses_.valueColumn = cell.Column();
      }
      return;
    }
    if (losses_.numbers++ != 0)
      return;
    losses_.numberRow = cell.Row();
    losses_.numberColumn = cell.Column();
    char text[kCellTextCapacity];
    CellCursor cursor;
    const StyleRecord& style = book_.styles.StyleAt(sheet_.format.CellStyle(cell.Row(), cell.Column(), &cursor));
    FormatCellDisplayText(cell, style.numFormat, text, sizeof text);
    losses_.numberWritten = text;
    NumFormatParams plain{};
    alignas(8) uint8_t record[64];
    const uint32_t size = BuildNumberCell(record, sizeof record, cell.Row(), cell.Column(), held.number, 0);
    if (size != 0 && FormatCellValueText(*AsCellRecord(record), plain, text, sizeof text))
      losses_.numberHeld = text;
  }

  const CWorkBook& book_;
  const CWorkSheet& sheet_;
  const TextFileOptions& options_;
  uint16_t firstUnsized_ = kColumnCount;
  bool linesMoved_ = false;
  bool rowMoved_ = false;
  uint32_t movedRow_ = 0;
  bool pendingUnsized_ = false;
  uint32_t pendingRow_ = 0;
  const CellRecord* pendingCell_ = nullptr;
  CellCursor styleCursor_;
  // A workbook of one new worksheet, as a file read back is, made on the
  // first field read as input.
  mutable std::unique_ptr<CWorkBook> scratch_;
  TextLosses losses_;
};

}  // namespace

TextLosses FindTextLosses(const CWorkBook& book, const CWorkSheet& sheet, const TextFileOptions& options) {
  return TextLossFinder(book, sheet, options).Find();
}
