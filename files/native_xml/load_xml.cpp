#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <new>

#include "core/formula/formula_ref_text.h"
#include "core/workbook/workbook.h"
#include "files/native_xml/native_xml.h"
#include "files/errors/file_errors.h"
#include "core/model/inspect_cell.h"
#include "files/native_xml/load_rollback.h"
#include "files/native_xml/xml_cells.h"
#include "files/native_xml/xml_container.h"
#include "files/native_xml/xml_formatting.h"
#include "files/native_xml/xml_sheet_settings.h"
#include "files/native_xml/xml_styles.h"
#include "files/stream/file_stream.h"
#include "files/xml/xml_reader.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

constexpr uint8_t kFindStart = kXmlStartTag | kXmlOptional;
constexpr uint8_t kFindStartCleared = kXmlClearAttributes | kXmlStartTag | kXmlOptional;
constexpr uint8_t kFindAnyCleared = kXmlClearAttributes | kXmlStartTag | kXmlEndTag | kXmlOptional;

class XmlDocumentReader {
 public:
  XmlDocumentReader(CWorkBook* book, CXmlReader* reader) : book_(book), r_(reader) {}

  void Read() {
    r_->FindElement(nullptr, "?xml", kXmlClearAttributes | kXmlStartTag);
    ReadEncoding();
    r_->FindElement(nullptr, "Workbook", kXmlStartTag);
    ReadLastModification();
    ReadWindow();
    ReadDropDownLists();
    ReadXmlStyles(r_, &book_->styles);
    ReadInspectCells();
    ReadTree();
  }

 private:
  void ReadEncoding() {
    r_->tag.encoding = kXmlEncodingUtf8;
    if (!r_->FindAttribute(nullptr, "encoding"))
      return;
    const char* value = r_->AttributeValue();
    if (!std::strcmp(value, "UTF-8") || !std::strcmp(value, "utf-8"))
      return;
    r_->tag.encoding = !std::strncmp(value, "ISO-", 4) || !std::strncmp(value, "iso-", 4) ? kXmlEncodingIso
                                                                                         : kXmlEncodingBytes;
  }

  void ReadText(const char* name, char* out, size_t size) {
    r_->ReadElementText(nullptr, name, kXmlStartTag | kXmlEndTag, int32_t(size - 1));
    std::memcpy(out, r_->text, std::strlen(r_->text) + 1);
  }

  void ReadLastModification() {
    if (!r_->FindElement(nullptr, "LastModification", kFindStart))
      return;
    ReadText("User", book_->lastModification.user, sizeof book_->lastModification.user);
    ReadText("Date", book_->lastModification.date, sizeof book_->lastModification.date);
    r_->FindElement(nullptr, "LastModification", kXmlEndTag);
  }

  void ReadPane(const char* name, const char* sizeName, uint16_t* visible, uint16_t* size) {
    if (!r_->FindElement(nullptr, name, kFindAnyCleared))
      return;
    if (r_->FindAttribute(nullptr, "Visible")) {
      uint8_t flag;
      r_->ReadBool(&flag, r_->AttributeValue());
      *visible = flag;
    }
    if (r_->FindAttribute(nullptr, sizeName))
      r_->ParseUInt16(size, 0, 65534, r_->AttributeValue());
  }

  void ReadWindow() {
    if (!r_->FindElement(nullptr, "Window", kFindStart))
      return;
    PaneLayout& panes = book_->panes;
    ReadPane("TreePane", "Width", &panes.treePaneVisible, &panes.treePaneWidth);
    ReadPane("InspectPane", "Height", &panes.inspectPaneVisible, &panes.inspectPaneHeight);
    r_->FindElement(nullptr, "Window", kXmlEndTag);
  }

  void ReadDropDownLists() {
    if (!r_->FindElement(nullptr, "DropDownLists", kFindStart))
      return;
    while (r_->FindElement(nullptr, "List", kFindStartCleared)) {
      if (!r_->FindAttribute(nullptr, "ID"))
        ThrowXmlError(kFileXmlMissingAttribute);
      uint8_t id;
      r_->ParseUInt8(&id, 1, kDropDownListCount, r_->AttributeValue());
      DropDownList& list = book_->dropDownLists[id - 1];
      if (r_->ReadElementText(nullptr, "Name", kXmlOptional, int32_t(kDropDownNameSize - 1)))
        std::memcpy(list.name, r_->text, std::strlen(r_->text) + 1);
      else
        std::snprintf(list.name, sizeof list.name, "List %u.", unsigned(id));
      while (r_->ReadElementText(nullptr, "Item", kXmlOptional, int32_t(kDropDownEntryMaxLength)))
        if (!list.AppendEntry(r_->text))
          ThrowXmlError(kFileXmlOutOfMemory);
      r_->FindElement(nullptr, "List", kXmlEndTag);
    }
    r_->FindElement(nullptr, "DropDownLists", kXmlEndTag);
  }

  // The current attribute decoded into out, at most size - 1 characters
  // (58 beyond).
  void DecodeInto(char* out, size_t size) {
    const int32_t length = r_->DecodeAttributeText(int32_t(size - 1));
    if (length < 0)
      ThrowXmlError(kFileXmlBadAttribute);
    std::memcpy(out, r_->text, size_t(length) + 1);
  }

  void ReadInspectCells() {
    if (!r_->FindElement(nullptr, "InspectCells", kFindStart))
      return;
    while (r_->FindElement(nullptr, "Cell", kFindAnyCleared)) {
      InspectCellFields cell;
      if (!r_->FindAttribute(nullptr, "rc"))
        ThrowXmlError(kFileXmlMissingAttribute);
      book_->evaluator.row = 0;
      book_->evaluator.column = 0;
      RefCorner corner{};
      const char* end = nullptr;
      const uint32_t flags = ParseR1C1Reference(book_->evaluator, r_->AttributeValue(), &corner, &end);
      // One absolute cell inside the grid; a record outside it would
      // address cells no worksheet has.
      if ((flags & (kRefCell | kRefRowRelative | kRefColumnRelative | kRefOutsideGrid)) != kRefCell || *end ||
          corner.column >= kColumnCount || corner.row >= kRowCount)
        ThrowXmlError(kFileXmlBadAttribute);
      cell.column = uint16_t(corner.column);
      cell.row = corner.row;
      cell.flags = flags;
      if (r_->FindAttribute(nullptr, "Worksheet"))
        DecodeInto(cell.path, sizeof cell.path);
      if (r_->FindAttribute(nullptr, "Name"))
        DecodeInto(cell.name, sizeof cell.name);
      uint8_t record[kInspectCellRecordSize];
      WriteInspectCell(cell, record);
      if (!book_->inspectCells.Append(record))
        ThrowXmlError(kFileXmlOutOfMemory);
    }
    r_->FindElement(nullptr, "InspectCells", kXmlEndTag);
  }

  void Link(CTreeItem* item) { book_->AppendLoadedItem(item, &last_); }

  void ReadTree() {
    for (;;) {
      const bool isSheet = r_->FindElement(nullptr, "Worksheet", kFindStartCleared);
      if (!isSheet && !r_->FindElement(nullptr, "Folder", kFindAnyCleared))
        break;
      char name[kTreeItemNameSize];
      if (r_->FindAttribute(nullptr, "Name"))
        DecodeInto(name, sizeof name);
      else
        std::snprintf(name, sizeof name, isSheet ? "Worksheet%u" : "Folder%u",
                      unsigned((isSheet ? book_->worksheetCount : book_->folderCount) + 1));
      uint16_t level = 1;
      if (r_->FindAttribute(nullptr, "TreeLevel"))
        r_->ParseUInt16(&level, 1, 65534, r_->AttributeValue());
      // Levels the tree cannot hold are brought within its rule: at most one
      // below a folder before, never below a worksheet before.
      const uint16_t deepest = !last_ ? 1 : last_->IsFolder() ? uint16_t(last_->depth + 1) : last_->depth;
      if (level > deepest)
        level = deepest;
      uint8_t flag = 0;
      if (!isSheet) {
        if (r_->FindAttribute(nullptr, "Expanded"))
          r_->ReadBool(&flag, r_->AttributeValue());
        CTreeItem* folder = NewFolderItem(name, level, flag);
        if (!folder)
          ThrowXmlError(kFileXmlOutOfMemory);
        Link(folder);
        continue;
      }
      if (r_->FindAttribute(nullptr, "Selected"))
        r_->ReadBool(&flag, r_->AttributeValue());
      CWorkSheet* sheet = NewWorksheet(name, level);
      if (!sheet)
        ThrowXmlError(kFileXmlOutOfMemory);
      Link(sheet);
      if (flag || !book_->activeWorksheet)
        book_->activeWorksheet = sheet;
      ReadXmlContainers(r_, book_, sheet);
      ReadXmlFormatting(r_, book_, sheet);
      ReadXmlCells(r_, book_, sheet);
      ReadXmlGeneralSettings(r_, book_, sheet);
      ReadXmlPageSettings(r_, sheet);
      r_->FindElement(nullptr, "Worksheet", kXmlEndTag);
    }
    r_->FindElement(nullptr, "DateStamp", kFindAnyCleared);
    r_->FindElement(nullptr, "Workbook", kXmlEndTag);
    if (!book_->worksheetCount)
      ThrowXmlError(kFileNoWorksheet);
  }

  CWorkBook* book_;
  CXmlReader* r_;
  CTreeItem* last_ = nullptr;
};

}  // namespace

bool LoadXml(CWorkBook* book, uint32_t* errorLine) {
  FileStream stream;
  stream.Reset();
  if (!book->bufferedFile.file || !stream.OpenGz(book->bufferedFile.file, "rb")) {
    book->error = kFileReadError;
    return false;
  }
  std::unique_ptr<CXmlReader> reader(new (std::nothrow) CXmlReader);
  if (!reader) {
    stream.CloseGz();
    book->error = kFileXmlOutOfMemory;
    return false;
  }
  reader->Reset();
  reader->source.stream = &stream;
  reader->source.gzip = true;
  book->error = 0;
  const uint8_t first = reader->source.PeekByte();
  if (first == 0xFE || first == 0xFF) {
    stream.CloseGz();
    book->error = kFileOnlyUtf8;
    return false;
  }
  for (uint8_t mark : {uint8_t(0xEF), uint8_t(0xBB), uint8_t(0xBF)})
    if (reader->source.PeekByte() == mark)
      reader->source.NextByte();
  XmlLoadRollback rollback;
  if (!rollback.Begin(book)) {
    stream.CloseGz();
    book->error = kFileXmlOutOfMemory;
    return false;
  }
  try {
    XmlDocumentReader(book, reader.get()).Read();
  } catch (int code) {
    book->error = uint8_t(code);
  } catch (const std::bad_alloc&) {
    book->error = kFileXmlOutOfMemory;
  }
  if (!book->error && stream.HasErrorGz())
    book->error = kFileReadError;
  if (!book->error && !rollback.Commit())
    book->error = kFileXmlOutOfMemory;
  if (errorLine)
    *errorLine = book->error ? reader->tag.line : 0;
  stream.CloseGz();
  if (book->error) {
    rollback.Restore();
    return false;
  }
  book->evaluator.owner = book;
  book->evaluator.sheet = &book->activeWorksheet->cells;
  return true;
}
