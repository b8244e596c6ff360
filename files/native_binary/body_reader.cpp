#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/cells/cell_block_checks.h"
#include "core/cells/stored_blocks.h"
#include "core/formula/eval_state.h"
#include "core/styles/style_run_block_checks.h"
#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/native_binary/binary_format.h"
#include "files/native_binary/record_checks.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

constexpr double kDegreesToRadians = 3.14159265358979 / 180;

class BodyReader {
 public:
  BodyReader(CWorkBook* book, BodySource* source, int version)
      : book_(book), source_(source), version_(version) {}

  // Throws a file error code.
  void Read();

 private:
  size_t ReadSome(void* bytes, size_t count) { return count ? source_->read(source_->context, bytes, count) : 0; }
  void Exact(void* bytes, size_t count) {
    if (ReadSome(bytes, count) != count)
      throw int(kFileReadError);
  }
  uint8_t U8() {
    uint8_t value;
    Exact(&value, 1);
    return value;
  }
  uint16_t U16() {
    uint16_t value;
    Exact(&value, 2);
    return value;
  }
  uint32_t U32() {
    uint32_t value;
    Exact(&value, 4);
    return value;
  }
  // A counted text: every byte is read, at most capacity - 1 are kept.
  void Text(uint32_t length, char* out, size_t capacity);

  void ReadDropDownLists();
  void ReadOldDropDownLists();
  void ReadStyles();
  void ReadInspectCells();
  void ReadItems();
  // False when a version 1 list of items ends here.
  bool ReadItem(bool mayEnd);
  void ReadWorksheet(CWorkSheet* sheet);
  void ReadContainer(CWorkSheet* sheet);
  void ReadChart(ContainerRecord* container, int slot);
  void ReadColumns(SheetFormat* format);
  void ReadRows(RowTable* rows);
  // The stored blocks of a style-run or cell store, checked, into chain.
  void ReadBlocks(bool cells, StoredBlockChain* chain);
  void Link(CTreeItem* item);

  CWorkBook* book_;
  BodySource* source_;
  int version_;
  CTreeItem* last_ = nullptr;
  ContainerIdSet ids_;
  uint32_t nextOldId_ = 1;
  std::vector<char> text_;
};

void BodyReader::Text(uint32_t length, char* out, size_t capacity) {
  out[0] = '\0';
  if (length == 0)
    return;
  if (text_.size() < length)
    text_.resize(length);
  Exact(text_.data(), length);
  const size_t kept = length < capacity - 1 ? length : capacity - 1;
  std::memcpy(out, text_.data(), kept);
  out[kept] = '\0';
}

void BodyReader::Read() {
  LastModificationBlock& modification = book_->lastModification;
  Exact(modification.user, kLastModificationUserSize);
  Exact(modification.date, kLastModificationDateSize);
  modification.user[kLastModificationUserSize - 1] = '\0';
  modification.date[kLastModificationDateSize - 1] = '\0';
  PaneLayout panes;
  panes.treePaneVisible = U16() ? 1 : 0;
  panes.treePaneWidth = U16();
  panes.inspectPaneVisible = U16() ? 1 : 0;
  panes.inspectPaneHeight = U16();
  book_->panes = panes;
  if (version_ >= 3)
    ReadDropDownLists();
  else
    ReadOldDropDownLists();
  ReadStyles();
  ReadInspectCells();
  ReadItems();
  if (source_->hasError(source_->context))
    throw int(kFileReadError);
  if (!book_->worksheetCount)
    throw int(kFileBadFormat);
}

void BodyReader::ReadDropDownLists() {
  const uint16_t count = U16();
  if (count > kDropDownListCount)
    throw int(kFileBadFormat);
  std::vector<char> item(kDropDownEntryMaxLength + 1);
  for (uint16_t n = 0; n < count; ++n) {
    const uint16_t slot = U16();
    if (slot >= kDropDownListCount)
      throw int(kFileBadFormat);
    DropDownList& list = book_->dropDownLists[slot];
    Text(U16(), list.name, kDropDownNameSize);
    const uint32_t items = U32();
    for (uint32_t i = 0; i < items; ++i) {
      Text(U16(), item.data(), item.size());
      if (!list.AppendEntry(item.data()))
        throw int(kFileOutOfMemory);
    }
  }
}

// Versions 1 and 2 kept each list as 34-byte records: a list number, flags
// (bit 0 the text goes on in the next record of the list, bit 1 skip) and
// up to 30 characters. The records are read as they come, so that a count
// that promises more than the file holds allocates nothing for it.
void BodyReader::ReadOldDropDownLists() {
  const uint32_t count = U32();
  struct OldRecord {
    uint16_t list;
    uint8_t flags;
    uint8_t length;
    char text[kOldListTextMax];
  };
  static_assert(sizeof(OldRecord) == kOldListRecordSize, "");
  std::vector<OldRecord> records;
  try {
    for (uint32_t i = 0; i < count; ++i) {
      OldRecord record;
      Exact(&record, sizeof record);
      if (record.list < 1 || record.list > kDropDownListCount)
        throw int(kFileBadFormat);
      if (record.length > kOldListTextMax)
        record.length = kOldListTextMax;
      records.push_back(record);
    }
  } catch (const std::bad_alloc&) {
    throw int(kFileOutOfMemory);
  }
  char pending[kDropDownEntryMaxLength + 1];
  for (uint32_t number = 1; number <= kDropDownListCount; ++number) {
    DropDownList& list = book_->dropDownLists[number - 1];
    size_t pendingLength = 0;
    bool any = false;
    bool continued = false;
    for (const OldRecord& record : records) {
      if (record.list != number)
        continue;
      any = true;
      if (record.flags & 2)
        continue;
      const size_t take = record.length < kDropDownEntryMaxLength - pendingLength
                              ? record.length
                              : kDropDownEntryMaxLength - pendingLength;
      std::memcpy(pending + pendingLength, record.text, take);
      pendingLength += take;
      continued = (record.flags & 1) != 0;
      if (!continued) {
        pending[pendingLength] = '\0';
        if (!list.AppendEntry(pending))
          throw int(kFileOutOfMemory);
        pendingLength = 0;
      }
    }
    // A text left continued by the last record is still an item.
    if (continued) {
      pending[pendingLength] = '\0';
      if (!list.AppendEntry(pending))
        throw int(kFileOutOfMemory);
    }
    if (any)
      std::snprintf(list.name, kDropDownNameSize, "List %u.", unsigned(number));
  }
}

void BodyReader::ReadStyles() {
  StyleTable& styles = book_->styles;
  const uint8_t fonts = U8();
  if (fonts < 1 || fonts > StyleTable::kMaxFonts)
    throw int(kFileBadFormat);
  Exact(styles.fonts, sizeof(FontRecord) * fonts);
  for (uint8_t i = 0; i < fonts; ++i) CheckFontRecord(&styles.fonts[i]);
  styles.fontCount = fonts;
  const uint16_t count = U16();
  if (count < 1 || count > StyleTable::kMaxStyles)
    throw int(kFileBadFormat);
  Exact(styles.styles, sizeof(StyleRecord) * count);
  for (uint16_t i = 0; i < count; ++i) CheckStyleRecord(&styles.styles[i], fonts);
  styles.styleCount = count;
}

void BodyReader::ReadInspectCells() {
  const uint32_t count = U32();
  uint8_t record[kInspectRecordSize];
  for (uint32_t i = 0; i < count; ++i) {
    Exact(record, sizeof record);
    CheckInspectRecord(record);
    if (!book_->inspectCells.Append(record))
      throw int(kFileOutOfMemory);
  }
}

void BodyReader::ReadItems() {
  if (version_ < 2) {
    while (ReadItem(true)) {
    }
    return;
  }
  const uint32_t count = U32();
  for (uint32_t i = 0; i < count; ++i) ReadItem(false);
}

bool BodyReader::ReadItem(bool mayEnd) {
  // The head: name length, name, level, kind, flag. A version 1 list ends
  // at the first head that cannot be read whole; with a count, a missing
  // item is a truncated file.
  uint8_t head[1 + 255 + 4];
  uint8_t nameLength;
  if (ReadSome(&nameLength, 1) != 1) {
    if (mayEnd)
      return false;
    throw int(kFileReadError);
  }
  if (ReadSome(head, nameLength + 4u) != nameLength + 4u) {
    if (mayEnd)
      return false;
    throw int(kFileReadError);
  }
  char name[kTreeItemNameSize];
  const size_t kept = nameLength < kTreeItemNameSize - 1 ? nameLength : kTreeItemNameSize - 1;
  std::memcpy(name, head, kept);
  name[kept] = '\0';
  uint16_t level;
  std::memcpy(&level, head + nameLength, 2);
  const uint8_t kind = head[nameLength + 2];
  const uint8_t flag = head[nameLength + 3];

  // The tree keeps every item at most one level below a folder before it
  // and never below a worksheet before it.
  const uint16_t deepest = !last_ ? 1 : last_->IsFolder() ? uint16_t(last_->depth + 1) : last_->depth;
  if (level < 1)
    level = 1;
  if (level > deepest)
    level = deepest;

  if (kind != kTreeItemWorksheet) {
    CTreeItem* folder = NewFolderItem(name, level, flag ? 1 : 0);
    if (!folder)
      throw int(kFileOutOfMemory);
    Link(folder);
    return true;
  }
  std::unique_ptr<CWorkSheet> sheet(NewWorksheet(name, level));
  if (!sheet)
    throw int(kFileOutOfMemory);
  ReadWorksheet(sheet.get());
  CWorkSheet* linked = sheet.release();
  Link(linked);
  if (flag || !book_->activeWorksheet)
    book_->activeWorksheet = linked;
  return true;
}

void BodyReader::Link(CTreeItem* item) { book_->AppendLoadedItem(item, &last_); }

void BodyReader::ReadWorksheet(CWorkSheet* sheet) {
  const uint32_t containers = U32();
  for (uint32_t i = 0; i < containers; ++i) ReadContainer(sheet);
  ReadColumns(&sheet->format);
  ReadRows(&sheet->format.rows);

  StoredBlockChain runs;
  ReadBlocks(false, &runs);
  runs.AttachTo(&sheet->format.runs);
  StoredBlockChain cells;
  ReadBlocks(true, &cells);
  cells.AttachTo(&sheet->cells);
  if (!IndexEveryRowPage(&sheet->cells))
    throw int(kFileOutOfMemory);

  Exact(&sheet->pageSettings, kPageSettingsImageSize);
  CheckPageSettings(&sheet->pageSettings);
  Exact(&sheet->viewFormat, kSheetSettingsSize);
  CheckSheetSettings(&sheet->viewFormat);
}

void BodyReader::ReadContainer(CWorkSheet* sheet) {
  ContainerRecord* container = new (std::nothrow) ContainerRecord;
  if (!container)
    throw int(kFileOutOfMemory);
  // Added first, so that the worksheet releases it whatever happens next.
  sheet->AddContainer(container);
  Exact(&container->header, kContainerHeaderImageSize);
  CheckContainerHeader(&container->header);
  if (version_ < 3) {
    if (nextOldId_ > kContainerMaxId)
      throw int(kFileBadFormat);
    container->header.id = uint16_t(nextOldId_++);
  }
  const uint16_t id = container->header.id;
  if (id > kContainerMaxId || (id != 0 && ids_.IsTaken(id)))
    throw int(kFileBadFormat);
  ids_.Take(id);
  const int slots = container->header.itemCount;
  // The slots count up as charts arrive, so that a failure leaves a
  // container whose count matches what it owns.
  container->header.itemCount = 0;
  for (int slot = 0; slot < slots; ++slot) {
    ReadChart(container, slot);
    container->header.itemCount = uint8_t(slot + 1);
  }
}

void BodyReader::ReadChart(ContainerRecord* container, int slot) {
  ChartOptions options;
  Exact(&options, kChartImageSize);
  if (!CheckChartOptions(&options))
    throw int(kFileBadFormat);
  ChartRecord* chart = new (std::nothrow) ChartRecord(options.kind);
  if (!chart)
    throw int(kFileOutOfMemory);
  container->items[slot].kind = kItemChart;
  container->items[slot].chart = chart;
  chart->options = options;
  if (version_ >= 3) {
    Exact(chart->viewMatrix, kViewMatrixSize);
  } else {
    ChartRecord::Transform(chart->viewMatrix, kResetToIdentity, 0);
    ChartRecord::Transform(chart->viewMatrix, kRotateAboutX, options.rotationX * kDegreesToRadians);
    ChartRecord::Transform(chart->viewMatrix, kRotateAboutY, options.rotationY * kDegreesToRadians);
    ChartRecord::Transform(chart->viewMatrix, kRotateAboutZ, options.rotationZ * kDegreesToRadians);
  }
  for (int i = 0; i < options.seriesCount; ++i) {
    Exact(&chart->series[i], kSeriesImageBytes);
    CheckSeriesImage(&chart->series[i]);
  }
}

void BodyReader::ReadColumns(SheetFormat* format) {
  uint32_t column = 0;
  while (column < kColumnCount) {
    const uint16_t run = U16();
    if (run == 0 || run > kColumnCount - column)
      throw int(kFileBadFormat);
    ColumnRecord record;
    if (version_ >= 2) {
      Exact(&record, sizeof record);
    } else {
      const uint32_t packed = U32();
      record = format->columns[column];
      record.widthWord = uint16_t((record.widthWord & ~0x1FFFu) | (packed & 0x1FFFu));
      record.styleWord = uint16_t((record.styleWord & ~0x0FFFu) | ((packed >> 16) & 0x0FFFu));
    }
    CheckColumnRecord(&record, book_->styles.styleCount);
    for (uint32_t end = column + run; column < end; ++column) format->columns[column] = record;
  }
}

void BodyReader::ReadRows(RowTable* rows) {
  const uint32_t count = U32();
  if (count > RowTable::kMaxRows)
    throw int(kFileBadFormat);
  for (uint32_t filled = 0; filled < count;) {
    const uint32_t run = U32();
    const uint16_t record = U16();
    if (run == 0 || run > count - filled)
      throw int(kFileBadFormat);
    for (uint32_t i = 0; i < run; ++i)
      if (!rows->Append(record))
        throw int(kFileOutOfMemory);
    filled += run;
  }
}

void BodyReader::ReadBlocks(bool cells, StoredBlockChain* chain) {
  const uint32_t count = U32();
  StoredOrder order;
  const uint16_t styleCount = book_->styles.styleCount;
  for (uint32_t i = 0; i < count; ++i) {
    const uint16_t length = U16();
    const StoredBlockResult taken = chain->TakeBlock(
        length, [&](uint8_t* bytes) { Exact(bytes, length); },
        [&](uint8_t* bytes) {
          return cells ? CheckCellBlock(bytes, length, &order, kFormulaTextCapacity)
                       : CheckStyleRunBlock(bytes, length, &order, styleCount);
        });
    if (taken == kStoredBlockOutOfMemory)
      throw int(kFileOutOfMemory);
    if (taken != kStoredBlockTaken)
      throw int(kFileBadFormat);
  }
}

}  // namespace

bool ReadBinaryBody(CWorkBook* book, BodySource* source, int version) {
  int code = 0;
  try {
    BodyReader reader(book, source, version);
    reader.Read();
  } catch (int thrown) {
    code = thrown;
  } catch (const std::bad_alloc&) {
    code = kFileOutOfMemory;
  }
  if (!code) {
    book->evaluator.owner = book;
    book->evaluator.sheet = &book->activeWorksheet->cells;
    return true;
  }
  // Nothing of a refused body stays in the workbook.
  book->Clear();
  book->error = uint8_t(code);
  return false;
}
