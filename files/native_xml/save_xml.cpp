#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "files/errors/file_errors.h"
#include "core/model/inspect_cell.h"
#include "files/native_binary/record_checks.h"
#include "core/styles/default_sizes.h"
#include "files/native_xml/xml_cells.h"
#include "files/native_xml/xml_container.h"
#include "files/native_xml/xml_formatting.h"
#include "files/native_xml/xml_sheet_settings.h"
#include "files/native_xml/xml_styles.h"
#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

// The text escaped for an attribute value, in the writer's text buffer.
const char* Escaped(CXmlReader* writer, const char* text) {
  if (writer->EscapeText(text, std::strlen(text)) < 0)
    ThrowXmlError(kFileXmlBadData);
  return writer->text;
}

void WriteLastModification(CXmlReader* w, const CWorkBook& book) {
  w->WriteElement("LastModification", nullptr, kXmlWriteStart, 0, 1);
  w->WriteTextElement("User", book.lastModification.user, 1, 1);
  w->WriteTextElement("Date", book.lastModification.date, 1, 1);
  w->WriteElement("LastModification", nullptr, kXmlWriteEnd, 0, 2);
}

void WriteWindow(CXmlReader* w, const CWorkBook& book) {
  char attributes[64];
  w->WriteElement("Window", nullptr, kXmlWriteStart, 0, 1);
  std::snprintf(attributes, sizeof attributes, "Visible=\"%s\" Width=\"%u\"", book.panes.treePaneVisible ? "1" : "0",
                unsigned(book.panes.treePaneWidth));
  w->WriteElement("TreePane", attributes, kXmlWriteEmpty, 1, 1);
  std::snprintf(attributes, sizeof attributes, "Visible=\"%s\" Height=\"%u\"",
                book.panes.inspectPaneVisible ? "1" : "0", unsigned(book.panes.inspectPaneHeight));
  w->WriteElement("InspectPane", attributes, kXmlWriteEmpty, 1, 1);
  w->WriteElement("Window", nullptr, kXmlWriteEnd, 0, 2);
}

void WriteDropDownLists(CXmlReader* w, const CWorkBook& book) {
  w->WriteElement("DropDownLists", nullptr, kXmlWriteStart, 0, 1);
  for (uint32_t slot = 0; slot < kDropDownListCount; ++slot) {
    const DropDownList& list = book.dropDownLists[slot];
    if (!list.name[0] && !list.entries)
      continue;
    char attributes[16];
    std::snprintf(attributes, sizeof attributes, "ID=\"%u\"", unsigned(slot + 1));
    w->WriteElement("List", attributes, kXmlWriteStart, 1, 1);
    w->WriteTextElement("Name", list.name, 2, 1);
    for (const DropDownEntry* entry = list.entries; entry; entry = entry->next)
      w->WriteTextElement("Item", entry->text, 2, 1);
    w->WriteElement("List", nullptr, kXmlWriteEnd, 1, 1);
  }
  w->WriteElement("DropDownLists", nullptr, kXmlWriteEnd, 0, 2);
}

void WriteInspectCells(CXmlReader* w, const CWorkBook& book) {
  w->WriteElement("InspectCells", nullptr, kXmlWriteStart, 0, 1);
  static thread_local char attributes[3 * kXmlTextSize];
  for (uint32_t i = 0; i < book.inspectCells.Count(); ++i) {
    // A cell set beyond the grid is written at its edge, where the reader takes it.
    uint8_t record[kInspectCellRecordSize];
    std::memcpy(record, book.inspectCells.At(i), sizeof record);
    CheckInspectRecord(record);
    InspectCellFields cell;
    ReadInspectCell(record, &cell);
    attributes[0] = 0;
    size_t used = 0;
    if (cell.path[0])
      used += std::snprintf(attributes + used, sizeof attributes - used, " Worksheet=\"%s\"", Escaped(w, cell.path));
    used += std::snprintf(attributes + used, sizeof attributes - used, " rc=\"r%uc%u\"", unsigned(cell.row + 1),
                          unsigned(cell.column + 1));
    if (cell.name[0])
      std::snprintf(attributes + used, sizeof attributes - used, " Name=\"%s\"", Escaped(w, cell.name));
    w->WriteElement("Cell", attributes, kXmlWriteEmpty, 1, 1);
  }
  w->WriteElement("InspectCells", nullptr, kXmlWriteEnd, 0, 2);
}

// The sizes a column or row takes when it has none of its own: measured
// when a measurer is given, else as the view last measured them.
XmlDefaultSizes DefaultSizesOf(CWorkSheet* sheet, const TextMeasurer* measurer) {
  if (!measurer)
    return XmlDefaultSizes{sheet->format.defaultColumnWidth, sheet->format.defaultRowHeight};
  return XmlDefaultSizes{GetDefaultColumnWidth(&sheet->format, *measurer),
                         GetDefaultRowHeight(&sheet->format, *measurer)};
}

void WriteWorksheet(CXmlReader* w, const CWorkSheet& sheet, bool selected, const XmlDefaultSizes& defaults) {
  static thread_local char attributes[kXmlTextSize + 64];
  std::snprintf(attributes, sizeof attributes, "Name=\"%s\" TreeLevel=\"%u\"%s", Escaped(w, sheet.name),
                unsigned(sheet.depth), selected ? " Selected=\"1\"" : "");
  w->WriteElement("Worksheet", attributes, kXmlWriteStart, 0, 2);
  WriteXmlContainers(w, sheet);
  WriteXmlFormatting(w, sheet, defaults);
  WriteXmlCells(w, sheet);
  WriteXmlGeneralSettings(w, sheet);
  WriteXmlPageSettings(w, sheet);
  w->WriteElement("Worksheet", nullptr, kXmlWriteEnd, 0, 2);
}

}  // namespace

bool SaveXml(CWorkBook* book, const TextMeasurer* measurer) {
  FileStream stream;
  stream.Reset();
  if (!book->bufferedFile.file) {
    book->error = kFileWriteError;
    return false;
  }
  stream.Attach(book->bufferedFile.file);
  stream.Seek(SEEK_SET, 0);
  std::unique_ptr<CXmlReader> writer(new (std::nothrow) CXmlReader);
  if (!writer) {
    book->error = kFileOutOfMemory;
    return false;
  }
  writer->Reset();
  writer->source.stream = &stream;
  writer->tag.encoding = kXmlEncodingUtf8;
  book->error = 0;
  try {
    CXmlReader* w = writer.get();
    w->WriteRaw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n");
    w->WriteElement("Workbook", nullptr, kXmlWriteStart, 0, 2);
    WriteLastModification(w, *book);
    WriteWindow(w, *book);
    WriteDropDownLists(w, *book);
    WriteXmlStyles(w, book->styles);
    WriteInspectCells(w, *book);
    for (CTreeItem* item = book->firstItem; item; item = item->next) {
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
        WriteWorksheet(w, *sheet, sheet == book->activeWorksheet, DefaultSizesOf(sheet, measurer));
        continue;
      }
      char attributes[kXmlTextSize + 64];
      std::snprintf(attributes, sizeof attributes, "Name=\"%s\" Expanded=\"%s\" TreeLevel=\"%u\"",
                    Escaped(w, item->name), item->flag ? "1" : "0", unsigned(item->depth));
      w->WriteElement("Folder", attributes, kXmlWriteEmpty, 0, 2);
    }
    w->WriteElement("Workbook", nullptr, kXmlWriteEnd, 0, 1);
  } catch (int code) {
    book->error = uint8_t(code);
  }
  if (stream.HasError() || std::fflush(book->bufferedFile.file) != 0)
    book->error = kFileWriteError;
  stream.ReleaseCrypto();
  return book->error == 0;
}
