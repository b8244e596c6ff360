#include "files/native_xml/xml_formatting.h"

#include <cstdio>

#include "core/styles/style_run_walk.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_xml/xml_address.h"
#include "files/native_xml/xml_attribute_text.h"
#include "files/native_xml/xml_styles.h"
#include "files/xml/xml_reader.h"

namespace {

constexpr uint32_t kMaxSize = 4095;

void WriteColumns(CXmlReader* writer, const SheetFormat& format, const XmlDefaultSizes& defaults) {
  for (uint32_t c = 0; c < kColumnCount; ++c) {
    const ColumnRecord& column = format.columns[c];
    const uint16_t width = column.Width();
    if (!column.Style() && !column.WidthFixed() && (width == 0 || width == defaults.columnWidth))
      continue;
    XmlAttributeText text;
    text.Add("rc=\"c%u\"", unsigned(c + 1));
    if (column.WidthFixed())
      text.Add(" Width=\"%u\" Fixed=\"1\"", unsigned(width));
    else if (width)
      text.Add(" Width=\"%u\"", unsigned(width));
    if (column.Style())
      text.Add(" StyleID=\"%u\"", unsigned(column.Style()));
    const uint16_t fontHeight = uint16_t(column.fontHeightWord & ColumnRecord::kFontHeightMask);
    if (fontHeight && fontHeight != defaults.rowHeight)
      text.Add(" AutoRowHeight=\"%u\"", unsigned(fontHeight));
    writer->WriteElement("Column", text.Text(), kXmlWriteEmpty, 2, 1);
  }
}

// The row walk: rows of the table with a size of their own and rows that
// hold style runs, in order, each on one line with its spans.
void WriteRows(CXmlReader* writer, const SheetFormat& format, uint16_t automaticHeight) {
  StyleRunWalk runs(format.runs);
  const uint32_t tableRows = format.rows.Count();
  uint32_t row = 0;
  for (;;) {
    const StyleRun* run = runs.Current();
    // Rows without record and without runs are skipped at once.
    while (row < tableRows) {
      const uint16_t record = *format.rows.At(row);
      const uint16_t height = uint16_t((record & RowTable::kHeightMask) >> RowTable::kHeightShift);
      if ((record & RowTable::kFixedHeight) || (height && height != automaticHeight) || (run && run->row == row))
        break;
      ++row;
    }
    if (row >= tableRows) {
      if (!run)
        return;
      row = run->row;
    }
    if (row >= kRowCount)
      return;
    const uint16_t record = row < tableRows ? *format.rows.At(row) : 0;
    const uint16_t height = uint16_t((record & RowTable::kHeightMask) >> RowTable::kHeightShift);
    XmlAttributeText text;
    text.Add("rc=\"r%u\"", unsigned(row + 1));
    if (record & RowTable::kFixedHeight)
      text.Add(" Height=\"%u\" Fixed=\"1\"", unsigned(height));
    else if (height && height != automaticHeight)
      text.Add(" Height=\"%u\"", unsigned(height));
    writer->WriteElement("Row", text.Text(), kXmlWriteStart, 2, 0);
    for (; run && run->row == row; runs.Advance(), run = runs.Current()) {
      char span[64];
      std::snprintf(span, sizeof span, "rc=\"c%u:c%u\" StyleID=\"%u\"", unsigned(run->firstColumn + 1),
                    unsigned(run->lastColumn + 1), unsigned(run->style));
      writer->WriteElement("Span", span, kXmlWriteEmpty, 0, 0);
    }
    writer->WriteElement("Row", nullptr, kXmlWriteEnd, 0, 1);
    ++row;
  }
}

}  // namespace

void WriteXmlFormatting(CXmlReader* writer, const CWorkSheet& sheet, const XmlDefaultSizes& defaults) {
  writer->WriteElement("Formatting", nullptr, kXmlWriteStart, 1, 1);
  WriteColumns(writer, sheet.format, defaults);
  const uint16_t highest = sheet.format.MaxColumnFontHeight();
  WriteRows(writer, sheet.format, highest ? highest : defaults.rowHeight);
  writer->WriteElement("Formatting", nullptr, kXmlWriteEnd, 1, 2);
}

namespace {

bool Has(CXmlReader* reader, const char* name) { return reader->FindAttribute(nullptr, name); }

void RequireAddress(CXmlReader* reader) {
  if (!Has(reader, "rc"))
    ThrowXmlError(kFileXmlMissingAttribute);
}

uint16_t ReadStyleId(CXmlReader* reader, const CWorkBook& book) {
  uint16_t style = 0;
  reader->ParseUInt16(&style, 0, StyleTable::kMaxStyles - 1, reader->AttributeValue());
  if (style >= book.styles.styleCount)
    ThrowXmlError(kFileXmlBadAttribute);
  return style;
}

void ReadColumns(CXmlReader* reader, CWorkBook* book, SheetFormat* format) {
  while (FindXmlEmptyElement(reader, "Column")) {
    RequireAddress(reader);
    const RefCorner at = ReadXmlAddress(book, reader->AttributeValue(), kRefHasColumn, false, 0, 0);
    ColumnRecord& column = format->columns[at.column];
    column.SetWidth(0, false);
    column.SetStyle(0);
    if (Has(reader, "Width")) {
      uint16_t width = 0;
      reader->ParseUInt16(&width, 0, kMaxSize, reader->AttributeValue());
      uint8_t fixed = 0;
      if (Has(reader, "Fixed"))
        reader->ReadBool(&fixed, reader->AttributeValue());
      column.SetWidth(width, fixed != 0);
    }
    if (Has(reader, "StyleID"))
      column.SetStyle(ReadStyleId(reader, *book));
    if (Has(reader, "AutoRowHeight")) {
      uint16_t height = 0;
      reader->ParseUInt16(&height, 0, kMaxSize, reader->AttributeValue());
      column.fontHeightWord = uint16_t((column.fontHeightWord & ~ColumnRecord::kFontHeightMask) | height);
    }
  }
  format->ColumnsChanged();
}

void ReadSpans(CXmlReader* reader, CWorkBook* book, SheetFormat* format, uint32_t row) {
  bool first = true;
  uint16_t previousLast = 0;
  CellCursor cursor;
  while (FindXmlEmptyElement(reader, "Span")) {
    RequireAddress(reader);
    const char* end = nullptr;
    const RefCorner from = ReadXmlAddress(book, reader->AttributeValue(), kRefHasColumn, false, 0, 0, &end);
    if (*end != ':')
      ThrowXmlError(kFileXmlBadAttribute);
    const RefCorner to = ReadXmlAddress(book, end + 1, kRefHasColumn, false, 0, 0);
    // Runs of a row never overlap: each span starts right of the last.
    if (from.column > to.column || (!first && from.column <= previousLast))
      ThrowXmlError(kFileXmlBadAttribute);
    first = false;
    previousLast = uint16_t(to.column);
    if (!Has(reader, "StyleID"))
      continue;
    const StyleRun run{uint16_t(from.column), uint16_t(to.column), row, ReadStyleId(reader, *book)};
    if (!format->runs.InsertRun(run, &cursor))
      ThrowXmlError(kFileXmlOutOfMemory);
  }
}

void ReadRows(CXmlReader* reader, CWorkBook* book, SheetFormat* format) {
  bool first = true;
  uint32_t previous = 0;
  while (reader->FindElement(nullptr, "Row", kXmlClearAttributes | kXmlStartTag | kXmlOptional)) {
    RequireAddress(reader);
    const uint32_t row = ReadXmlAddress(book, reader->AttributeValue(), kRefHasRow, false, 0, 0).row;
    if (!first && row <= previous)
      ThrowXmlError(kFileXmlBadAttribute);
    first = false;
    previous = row;
    if (Has(reader, "Height")) {
      uint16_t height = 0;
      reader->ParseUInt16(&height, 0, kMaxSize, reader->AttributeValue());
      uint8_t fixed = 0;
      if (Has(reader, "Fixed"))
        reader->ReadBool(&fixed, reader->AttributeValue());
      if (row < format->rows.Count())
        ThrowXmlError(kFileXmlUnexpectedElement);
      if (!format->rows.SetRow(row, height, fixed != 0))
        ThrowXmlError(kFileXmlOutOfMemory);
    }
    ReadSpans(reader, book, format, row);
    reader->FindElement(nullptr, "Row", kXmlEndTag);
  }
}

}  // namespace

void ReadXmlFormatting(CXmlReader* reader, CWorkBook* book, CWorkSheet* sheet) {
  if (!reader->FindElement(nullptr, "Formatting", kXmlStartTag | kXmlOptional))
    return;
  ReadColumns(reader, book, &sheet->format);
  ReadRows(reader, book, &sheet->format);
  reader->FindElement(nullptr, "Formatting", kXmlEndTag);
}
