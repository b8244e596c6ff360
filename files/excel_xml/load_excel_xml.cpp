// The Excel 2003 XML Spreadsheet import: document properties, the active
// sheet, the styles and every worksheet, each at the top of the tree.

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

#include "core/styles/style_run_walk.h"
#include "core/styles/text_measurer.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/excel_xml/excel_names.h"
#include "files/excel_xml/excel_reader.h"
#include "files/excel_xml/excel_text.h"
#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

constexpr int32_t kDefaultPixelsPerInch = 96;

class ExcelDocumentReader {
 public:
  explicit ExcelDocumentReader(const ExcelReader& in) : in_(in), xml_(in.xml), book_(in.book) {}

  void Read() {
    // Tag by tag: the Workbook start tag is passed through, so that its
    // children read as if they stood at the top.
    while (xml_->FindElement(nullptr, nullptr, kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional)) {
      const char* name = xml_->name;
      if (!xml_->tag.hasContent) {
        if (ExcelWordsEqual(name, "Workbook"))
          return;
        continue;
      }
      if (name[0] == '?') {
        if (!std::strcmp(name, "?xml") && !declarationRead_)
          ReadEncoding();
        declarationRead_ = true;
      } else if (ExcelWordsEqual(name, "Workbook")) {
        if (!ExcelTagHasContent(xml_))
          return;
      } else if (!std::strcmp(name, "DocumentProperties")) {
        ReadDocumentProperties();
      } else if (!std::strcmp(name, "ExcelWorkbook")) {
        ReadExcelWorkbook();
      } else if (!std::strcmp(name, "Styles")) {
        ReadExcelStyles(in_);
      } else if (!std::strcmp(name, "Worksheet")) {
        ReadWorksheet();
      } else {
        SkipExcelElement(xml_);
      }
      // Each part stops at its end tag, or skips what it left.
      xml_->ReadText(nullptr);
    }
  }

  uint32_t activeSheet = 0;

 private:
  void ReadEncoding() {
    xml_->tag.encoding = kXmlEncodingUtf8;
    const char* value = ExcelAttribute(xml_, "encoding");
    if (!value || !std::strcmp(value, "UTF-8") || !std::strcmp(value, "utf-8"))
      return;
    xml_->tag.encoding =
        !std::strncmp(value, "ISO-", 4) || !std::strncmp(value, "iso-", 4) ? kXmlEncodingIso : kXmlEncodingBytes;
  }

  void ReadDocumentProperties() {
    DocumentPropertyTexts& p = book_->documentProperties;
    struct Property {
      const char* name;
      char* text;
      size_t size;
    };
    const Property properties[] = {
        {"Author", p.author, sizeof p.author},          {"LastAuthor", p.lastAuthor, sizeof p.lastAuthor},
        {"Company", p.company, sizeof p.company},       {"Version", p.version, sizeof p.version},
        {"LastPrinted", p.lastPrinted, sizeof p.lastPrinted}, {"Created", p.created, sizeof p.created},
        {"LastSaved", p.lastSaved, sizeof p.lastSaved}};
    if (!ExcelTagHasContent(xml_))
      return;
    while (NextExcelChild(xml_)) {
      bool known = false;
      for (const Property& property : properties)
        if (ExcelWordsEqual(xml_->name, property.name)) {
          ReadExcelText(xml_, property.text, property.size - 1);
          known = true;
          break;
        }
      if (!known)
        SkipExcelElement(xml_);
    }
  }

  void ReadExcelWorkbook() {
    if (!ExcelTagHasContent(xml_))
      return;
    while (NextExcelChild(xml_)) {
      if (!std::strcmp(xml_->name, "ActiveSheet")) {
        char text[64];
        ReadExcelText(xml_, text, sizeof text - 1);
        xml_->ParseUInt32(&activeSheet, 0, 2147483647, text);
      } else {
        SkipExcelElement(xml_);
      }
    }
  }

  void ReadWorksheet() {
    char read[kTreeItemNameSize];
    if (!ReadExcelAttributeText(xml_, "Name", read, sizeof read))
      std::snprintf(read, sizeof read, "Worksheet%u", unsigned(book_->worksheetCount + 1));
    // Formulas name worksheets: a name a worksheet before took is made
    // unique as the export makes it.
    char name[kTreeItemNameSize];
    if (!TakeUniqueExcelName(&names_, read, name))
      ThrowXmlError(kFileXmlOutOfMemory);
    CWorkSheet* sheet = NewWorksheet(name, 1);
    if (!sheet)
      ThrowXmlError(kFileXmlOutOfMemory);
    book_->AppendLoadedItem(sheet, &last_);
    if (!book_->activeWorksheet)
      book_->activeWorksheet = sheet;
    if (!ExcelTagHasContent(xml_))
      return;
    while (NextExcelChild(xml_)) {
      if (!std::strcmp(xml_->name, "Table"))
        ReadExcelTable(in_, sheet);
      else if (!std::strcmp(xml_->name, "WorksheetOptions"))
        ReadExcelWorksheetOptions(in_, sheet);
      else
        SkipExcelElement(xml_);
    }
  }

  const ExcelReader& in_;
  CXmlReader* xml_;
  CWorkBook* book_;
  CTreeItem* last_ = nullptr;
  PagedArray names_{kTreeItemNameSize};
  bool declarationRead_ = false;
};

// The n-th worksheet from 0 in the tree, or null.
CWorkSheet* WorksheetNumber(CWorkBook* book, uint32_t n) {
  for (CTreeItem* item = book->firstItem; item; item = item->next)
    if (CWorkSheet* sheet = CWorkSheet::FromItem(item))
      if (n-- == 0)
        return sheet;
  return nullptr;
}

void FitRowHeights(CWorkBook* book, const TextMeasurer& screen) {
  for (CTreeItem* item = book->firstItem; item; item = item->next) {
    CWorkSheet* sheet = CWorkSheet::FromItem(item);
    if (!sheet)
      continue;
    uint32_t firstRow = 0, lastRow = 0, firstRun = 0, lastRun = 0;
    const bool hasCells = sheet->cells.GetUsedRange(nullptr, nullptr, &firstRow, &lastRow);
    CellCursor walk;
    const StyleRun* run = sheet->format.runs.FindFirstInRect(&walk, 0, kMaxColumn, 0, kMaxRow);
    const bool hasRuns = run != nullptr;
    if (hasRuns) {
      firstRun = run->row;
      if (const StyleRun* last = LastStyleRun(sheet->format.runs))
        lastRun = last->row;
    }
    if (!hasCells && !hasRuns)
      continue;
    const uint32_t first = !hasCells ? firstRun : !hasRuns || firstRow < firstRun ? firstRow : firstRun;
    const uint32_t last = !hasCells ? lastRun : !hasRuns || lastRow > lastRun ? lastRow : lastRun;
    CWorkSheet::AutoRowHeights(book, screen, sheet, first, last);
  }
}

}  // namespace

bool CWorkBook::LoadExcelXml(const TextMeasurer* screen) {
  FileStream stream;
  stream.Reset();
  if (!bufferedFile.file) {
    error = kFileReadError;
    return false;
  }
  stream.Attach(bufferedFile.file);
  std::unique_ptr<CXmlReader> reader(new (std::nothrow) CXmlReader);
  std::unique_ptr<StyleIdList> styleIds(new (std::nothrow) StyleIdList);
  if (!reader || !styleIds) {
    error = kFileXmlOutOfMemory;
    return false;
  }
  reader->Reset();
  reader->source.stream = &stream;
  reader->tag.encoding = kXmlEncodingUtf8;
  reader->interchangeText = &kExcelAnsiText;
  error = 0;
  xmlErrorLine = 0;
  const uint8_t first = reader->source.PeekByte();
  if (first == 0xFE || first == 0xFF) {
    error = kFileOnlyUtf8;
    return false;
  }
  for (uint8_t mark : {uint8_t(0xEF), uint8_t(0xBB), uint8_t(0xBF)})
    if (reader->source.PeekByte() == mark)
      reader->source.NextByte();
  const ExcelReader in{reader.get(), this, screen,
                       screen && screen->screenPixelsPerInchY > 0 ? screen->screenPixelsPerInchY
                                                                  : kDefaultPixelsPerInch,
                       styleIds.get()};
  ExcelDocumentReader document(in);
  try {
    document.Read();
  } catch (int code) {
    error = uint8_t(code);
  } catch (const std::bad_alloc&) {
    error = kFileXmlOutOfMemory;
  }
  styleIds.reset();
  if (stream.HasError())
    error = kFileReadError;
  if (error)
    xmlErrorLine = reader->tag.line;
  if (!worksheetCount && !error)
    error = kFileNoWorksheet;
  if (CWorkSheet* active = WorksheetNumber(this, document.activeSheet))
    activeWorksheet = active;
  if (!error && activeWorksheet) {
    evaluator.owner = this;
    evaluator.sheet = &activeWorksheet->cells;
  }
  if (screen)
    FitRowHeights(this, *screen);
  CompactStyles();
  return error == 0;
}
