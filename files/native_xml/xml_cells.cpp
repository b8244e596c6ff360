#include "files/native_xml/xml_cells.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/base/error_code.h"
#include "core/cells/cell_block_checks.h"
#include "core/cells/cell_record_buffer.h"
#include "core/formula/formula_ref_text.h"
#include "core/numfmt/double_to_text.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_address.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr int32_t kMaxFormulaText = int32_t(kFormulaTextCapacity);
// The longest text a text cell holds: one record filling a store block.
constexpr int32_t kMaxCellText = int32_t(kLongestRecordText);
// The character data of a record's text: a byte escapes to at most six
// characters.
constexpr size_t kCellTextDataSize = 6 * kLargestCellRecord + 1;
// Numbers and error names are short.
constexpr int32_t kMaxValueText = 1024;

void WriteError(CXmlReader* writer, uint8_t code) {
  writer->WriteElement("Error", nullptr, kXmlWriteStart, 0, 0);
  writer->WriteRaw(ErrorName(code));
  writer->WriteElement("Error", nullptr, kXmlWriteEnd, 0, 0);
}

void WriteNumber(CXmlReader* writer, double value) {
  // Readers take finite numbers only; an infinity or NaN is what the
  // evaluator makes of it.
  if (!std::isfinite(value)) {
    WriteError(writer, kErrorNum);
    return;
  }
  // Every save must give back the same double: the shortest exact text,
  // and a negative zero keeps its sign, as the binary format keeps it.
  char number[kExactDoubleTextCapacity];
  if (value == 0.0 && std::signbit(value))
    std::snprintf(number, sizeof number, "-0");
  else
    DoubleToExactText(value, number, sizeof number, nullptr);
  writer->WriteElement("N", nullptr, kXmlWriteStart, 0, 0);
  writer->WriteRaw(number);
  writer->WriteElement("N", nullptr, kXmlWriteEnd, 0, 0);
}

void WriteTextValue(CXmlReader* writer, const char* text, size_t length) {
  writer->WriteElement("T", nullptr, kXmlWriteStart, 0, 0);
  writer->WriteLongText(text, length);
  writer->WriteElement("T", nullptr, kXmlWriteEnd, 0, 0);
}

void WriteCell(CXmlReader* writer, const CellRecord& cell, bool firstOfRow) {
  char attributes[64];
  if (firstOfRow) {
    writer->WriteRaw("\r\n\t\t");
    std::snprintf(attributes, sizeof attributes, "rc=\"r%uc%u\"%s", unsigned(cell.Row() + 1),
                  unsigned(cell.Column() + 1), cell.IsSpillValue() ? " Auto=\"1\"" : "");
  } else {
    writer->WriteRaw("\t");
    std::snprintf(attributes, sizeof attributes, "rc=\"rc%u\"%s", unsigned(cell.Column() + 1),
                  cell.IsSpillValue() ? " Auto=\"1\"" : "");
  }
  writer->WriteElement("Cell", attributes, kXmlWriteStart, 0, 0);
  if (cell.IsFormula()) {
    char array[48];
    const bool isArray = (cell.ResultFlags() & kResultArray) != 0;
    // An extent past the grid is written as the reader takes it.
    uint16_t columns = cell.ArrayColumns();
    uint32_t rows = cell.ArrayRows();
    CheckArrayExtent(cell.Row(), cell.Column(), &columns, &rows);
    std::snprintf(array, sizeof array, "Width=\"%u\" Height=\"%u\"", unsigned(columns), unsigned(rows));
    writer->WriteElement("F", isArray ? array : nullptr, kXmlWriteStart, 0, 0);
    writer->WriteText(cell.FormulaText(), cell.FormulaLength(), true);
    writer->WriteElement("F", nullptr, kXmlWriteEnd, 0, 0);
    if (cell.ErrorCode())
      WriteError(writer, cell.ErrorCode());
    else if (cell.ResultFlags() & kResultCachedNumber)
      WriteNumber(writer, cell.CachedNumber());
    else if (cell.HasCachedText())
      WriteTextValue(writer, cell.CachedText(), cell.CachedTextLength());
    else
      // A formula not yet calculated: a result keeps the element readable
      // by every reader; the formula is recalculated anyway.
      WriteNumber(writer, 0);
  } else if (cell.ErrorCode()) {
    WriteError(writer, cell.ErrorCode());
  } else if (cell.IsNumber()) {
    WriteNumber(writer, cell.Number());
  } else if (cell.IsText()) {
    WriteTextValue(writer, cell.Text(), cell.TextLength());
  }
  writer->WriteElement("Cell", nullptr, kXmlWriteEnd, 0, 0);
}

}  // namespace

void WriteXmlCells(CXmlReader* writer, const CWorkSheet& sheet) {
  writer->WriteElement("Cells", nullptr, kXmlWriteStart, 1, 0);
  bool any = false;
  uint32_t lastRow = 0;
  ForEachRecord(sheet.cells, [&](const CellRecord& cell) {
    WriteCell(writer, cell, !any || cell.Row() != lastRow);
    any = true;
    lastRow = cell.Row();
    return true;
  });
  writer->WriteRaw("\r\n");
  writer->WriteElement("Cells", nullptr, kXmlWriteEnd, 1, 2);
}

namespace {

double ReadNumberText(CXmlReader* reader) {
  double value = 0;
  reader->ParseDouble(&value, -1.7976931348623157e308, 1.7976931348623157e308, reader->text);
  return value;
}

uint8_t ReadErrorText(CXmlReader* reader) {
  const uint8_t code = ErrorCodeFromText(reader->text);
  if (!code)
    ThrowXmlError(kFileXmlBadData);
  return code;
}

}  // namespace

void ReadXmlCells(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet) {
  if (!reader->FindElement(nullptr, "Cells", kXmlStartTag | kXmlOptional))
    return;
  static thread_local CellRecordBuffer record;
  static thread_local char formula[kXmlTextSize];
  static thread_local char text[kCellTextDataSize];
  int32_t textLength = 0;
  uint32_t previousRow = 0;
  uint16_t previousColumn = 0;
  bool first = true;
  CellCursor cursor;
  while (reader->FindElement(nullptr, "Cell", kXmlClearAttributes | kXmlStartTag | kXmlOptional)) {
    if (reader->tag.isEnd)
      ThrowXmlError(kFileXmlUnexpectedElement);
    if (!reader->FindAttribute(nullptr, "rc"))
      ThrowXmlError(kFileXmlMissingAttribute);
    const RefCorner at = ReadXmlAddress(book, reader->AttributeValue(), kRefCell, false, previousRow, previousColumn);
    if (!first && (at.row < previousRow || (at.row == previousRow && at.column <= previousColumn)))
      ThrowXmlError(kFileXmlBadAttribute);
    uint8_t automatic = 0;
    if (reader->FindAttribute(nullptr, "Auto"))
      reader->ReadBool(&automatic, reader->AttributeValue());
    const uint32_t row = at.row;
    const uint16_t column = uint16_t(at.column);
    uint32_t size = 0;
    if (reader->FindElement(nullptr, "F", kXmlClearAttributes | kXmlOptional)) {
      FormulaCellFields fields;
      bool isArray = false;
      if (reader->FindAttribute(nullptr, "Width")) {
        reader->ParseUInt16(&fields.arrayColumns, 1, kColumnCount, reader->AttributeValue());
        isArray = true;
      }
      if (reader->FindAttribute(nullptr, "Height")) {
        reader->ParseUInt32(&fields.arrayRows, 1, kRowCount, reader->AttributeValue());
        isArray = true;
      }
      // The array's result must fit in the grid from its anchor.
      if (isArray && (column + uint32_t(fields.arrayColumns) > kColumnCount || row + uint64_t(fields.arrayRows) > kRowCount))
        ThrowXmlError(kFileXmlBadAttribute);
      int32_t length = 0;
      if (!reader->tag.isEnd) {
        reader->ReadText(nullptr);
        length = reader->DecodeEntities();
        if (length < 0 || length > kMaxFormulaText)
          ThrowXmlError(kFileXmlBadData);
        reader->FindElement(nullptr, "F", kXmlEndTag);
      }
      std::memcpy(formula, reader->text, size_t(length));
      fields.formula = formula;
      fields.formulaLength = uint16_t(length);
      fields.resultFlags = isArray ? kResultArray : 0;
      // Files of older writers hold a formula without a result: it is kept
      // uncalculated, to be computed by the next recalculation.
      // The cached text follows the formula in the same record.
      const int32_t maxCachedText = LongestCachedText(uint32_t(length));
      if (reader->ReadElementText(nullptr, "N", kXmlOptional, kMaxValueText)) {
        fields.cachedNumber = ReadNumberText(reader);
        fields.resultFlags |= kResultCachedNumber;
      } else if (reader->ReadElementTextInto(nullptr, "T", kXmlOptional, maxCachedText, text, sizeof text,
                                             &textLength)) {
        fields.cachedText = text;
        fields.cachedTextLength = uint16_t(textLength);
      } else if (reader->ReadElementText(nullptr, "Error", kXmlOptional, kMaxValueText)) {
        fields.typeExtra = ReadErrorText(reader);
        fields.resultFlags |= kResultCachedNumber;
      }
      size = record.BuildFormula(row, column, fields);
    } else {
      const uint8_t extra = automatic ? kCellSpillValue : 0;
      if (reader->ReadElementText(nullptr, "N", kXmlOptional, kMaxValueText))
        size = record.BuildNumber(row, column, ReadNumberText(reader), extra);
      else if (reader->ReadElementTextInto(nullptr, "T", kXmlOptional, kMaxCellText, text, sizeof text, &textLength))
        size = record.BuildText(row, column, text, uint16_t(textLength), extra);
      else if (reader->ReadElementText(nullptr, "Error", kXmlOptional, kMaxValueText))
        size = record.BuildNumber(row, column, 0, uint8_t(extra | ReadErrorText(reader)));
      else
        ThrowXmlError(kFileXmlUnexpectedElement);
    }
    if (!size || !sheet->cells.InsertCell(record.Record(), &cursor))
      ThrowXmlError(kFileXmlOutOfMemory);
    reader->FindElement(nullptr, "Cell", kXmlEndTag);
    previousRow = row;
    previousColumn = column;
    first = false;
  }
  reader->FindElement(nullptr, "Cells", kXmlEndTag);
}
