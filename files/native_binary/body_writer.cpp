#include <cstring>
#include <new>
#include <vector>

#include "core/cells/stored_blocks.h"
#include "core/edit/cell_display_text.h"
#include "core/edit/cell_input.h"
#include "core/model/chart_record.h"
#include "core/workbook/workbook.h"
#include "files/native_binary/binary_format.h"

namespace {

class BodyWriter {
 public:
  BodyWriter(CWorkBook* book, BodySink* sink, bool valuesOnly) : book_(book), sink_(sink), valuesOnly_(valuesOnly) {}

  // False only when the values-only copy runs out of memory.
  bool Write();

 private:
  void Put(const void* bytes, size_t count) {
    if (count)
      sink_->put(sink_->context, bytes, count);
  }
  void U8(uint8_t value) { Put(&value, 1); }
  void U16(uint16_t value) { Put(&value, 2); }
  void U32(uint32_t value) { Put(&value, 4); }

  void WriteDropDownLists();
  void WriteItem(const CWorkSheetTree::CTreeItem* item);
  bool WriteContainer(const ContainerRecord* container);
  void WriteChart(const ChartRecord& chart);
  void WriteColumnRuns(const SheetFormat& format);
  void WriteRowRuns(const RowTable& rows);
  void WriteBlocks(const BlockStore& store);
  bool WriteValueBlocks(const CellStore& store);

  CWorkBook* book_;
  BodySink* sink_;
  bool valuesOnly_;
};

bool BodyWriter::Write() {
  char user[kLastModificationUserSize] = {};
  char date[kLastModificationDateSize] = {};
  std::memcpy(user, book_->lastModification.user, strnlen(book_->lastModification.user, sizeof user - 1));
  std::memcpy(date, book_->lastModification.date, strnlen(book_->lastModification.date, sizeof date - 1));
  Put(user, sizeof user);
  Put(date, sizeof date);
  U16(book_->panes.treePaneVisible);
  U16(book_->panes.treePaneWidth);
  U16(book_->panes.inspectPaneVisible);
  U16(book_->panes.inspectPaneHeight);
  WriteDropDownLists();

  const StyleTable& styles = book_->styles;
  U8(styles.fontCount);
  Put(styles.fonts, sizeof(FontRecord) * styles.fontCount);
  U16(styles.styleCount);
  Put(styles.styles, sizeof(StyleRecord) * styles.styleCount);

  const uint32_t inspectCount = book_->inspectCells.Count();
  U32(inspectCount);
  book_->inspectCells.ForEachPageBytes([this](const uint8_t* bytes, uint32_t length) { Put(bytes, length); });

  uint32_t itemCount = 0;
  for (const CWorkSheetTree::CTreeItem* item = book_->firstItem; item; item = item->next) ++itemCount;
  U32(itemCount);
  for (const CWorkSheetTree::CTreeItem* item = book_->firstItem; item; item = item->next) {
    WriteItem(item);
    if (const CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
      uint32_t containers = 0;
      for (const ContainerRecord* c = sheet->containers; c; c = c->next) ++containers;
      U32(containers);
      for (const ContainerRecord* c = sheet->containers; c; c = c->next)
        if (!WriteContainer(c))
          return false;
      WriteColumnRuns(sheet->format);
      WriteRowRuns(sheet->format.rows);
      WriteBlocks(sheet->format.runs);
      if (valuesOnly_) {
        if (!WriteValueBlocks(sheet->cells))
          return false;
      } else {
        WriteBlocks(sheet->cells);
      }
      Put(&sheet->pageSettings, kPageSettingsImageSize);
      Put(&sheet->viewFormat, kSheetSettingsSize);
    }
  }
  return true;
}

void BodyWriter::WriteDropDownLists() {
  uint16_t used = 0;
  for (const DropDownList& list : book_->dropDownLists)
    if (list.name[0] || list.entries)
      ++used;
  U16(used);
  for (uint32_t slot = 0; slot < kDropDownListCount; ++slot) {
    const DropDownList& list = book_->dropDownLists[slot];
    if (!list.name[0] && !list.entries)
      continue;
    U16(uint16_t(slot));
    const size_t nameLength = strnlen(list.name, kDropDownNameSize - 1);
    U16(uint16_t(nameLength));
    Put(list.name, nameLength);
    U32(list.EntryCount());
    for (const DropDownEntry* entry = list.entries; entry; entry = entry->next) {
      const size_t length = entry->text ? strnlen(entry->text, kDropDownEntryMaxLength) : 0;
      U16(uint16_t(length));
      Put(entry->text, length);
    }
  }
}

void BodyWriter::WriteItem(const CWorkSheetTree::CTreeItem* item) {
  const size_t nameLength = strnlen(item->name, kTreeItemNameSize - 1);
  U8(uint8_t(nameLength));
  Put(item->name, nameLength);
  U16(item->depth);
  U8(item->IsWorksheet() ? kTreeItemWorksheet : kTreeItemFolder);
  if (item->IsWorksheet())
    U8(item == book_->activeWorksheet ? 1 : 0);
  else
    U8(item->flag);
}

bool BodyWriter::WriteContainer(const ContainerRecord* container) {
  Put(&container->header, kContainerHeaderImageSize);
  for (int slot = 0; slot < container->header.itemCount; ++slot) {
    const ContainerItem& item = container->items[slot];
    if (item.kind == kItemChart && item.chart) {
      WriteChart(*item.chart);
    } else {
      // The file knows only chart slots: a slot without a chart is kept as
      // a default chart, so that the counts still agree.
      ChartRecord* blank = new (std::nothrow) ChartRecord(kChart2D);
      if (!blank) {
        book_->error = kWorkbookOutOfMemory;
        return false;
      }
      WriteChart(*blank);
      delete blank;
    }
  }
  return true;
}

void BodyWriter::WriteChart(const ChartRecord& chart) {
  ChartOptions options = chart.options;
  const int series = chart.UsedSeriesCount();
  options.seriesCount = uint8_t(series);
  Put(&options, kChartImageSize);
  Put(chart.viewMatrix, kViewMatrixSize);
  for (int i = 0; i < series; ++i) Put(&chart.series[i], kSeriesImageBytes);
}

void BodyWriter::WriteColumnRuns(const SheetFormat& format) {
  for (uint32_t first = 0; first < kColumnCount;) {
    uint32_t end = first + 1;
    while (end < kColumnCount && std::memcmp(&format.columns[end], &format.columns[first], sizeof(ColumnRecord)) == 0)
      ++end;
    U16(uint16_t(end - first));
    Put(&format.columns[first], sizeof(ColumnRecord));
    first = end;
  }
}

void BodyWriter::WriteRowRuns(const RowTable& rows) {
  U32(rows.Count());
  uint32_t runLength = 0;
  uint16_t runRecord = 0;
  rows.ForEachRowRecord([&](uint16_t record) {
    if (runLength && record == runRecord) {
      ++runLength;
      return;
    }
    if (runLength) {
      U32(runLength);
      U16(runRecord);
    }
    runRecord = record;
    runLength = 1;
  });
  if (runLength) {
    U32(runLength);
    U16(runRecord);
  }
}

void BodyWriter::WriteBlocks(const BlockStore& store) {
  U32(store.BlockCount());
  ForEachBlockBytes(store, [this](const uint8_t* bytes, uint16_t length) {
    U16(length);
    Put(bytes, length);
  });
}

// Each record of the store rebuilt: a formula becomes the cell that its
// shown text, typed in, would make (never a formula again), and values of an
// array result become ordinary values. The rebuilt records can outgrow
// their blocks, so they are packed into blocks of their own.
bool BodyWriter::WriteValueBlocks(const CellStore& store) {
  std::vector<uint8_t> records;
  std::vector<uint16_t> blockSizes;
  try {
    uint8_t rebuilt[kCellInputCapacity];
    // The block being packed, added to records when the next record would
    // not fit it.
    uint8_t block[kBlockPayload];
    char text[kCellTextCapacity];
    NumFormatParams general{};
    uint32_t blockUsed = 0;
    const auto closeBlock = [&] {
      records.insert(records.end(), block, block + blockUsed);
      blockSizes.push_back(uint16_t(blockUsed));
      blockUsed = 0;
    };
    ForEachRecord(store, [&](const CellRecord& cell) {
      const CellRecord* value = &cell;
      uint32_t length = cell.Size();
      if (cell.IsFormula()) {
        FormatCellDisplayText(cell, general, text, sizeof text);
        NumFormatParams scratch{};
        length = ParseValueInput(text, &scratch, cell.Row(), cell.Column(), rebuilt, sizeof rebuilt);
        value = AsCellRecord(rebuilt);
      }
      if (length == 0)
        return true;
      if (!FitsStoreBlock(blockUsed + length))
        closeBlock();
      CopyRecordWithoutSpillFlag(*value, block + blockUsed);
      blockUsed += length;
      return true;
    });
    if (blockUsed)
      closeBlock();
  } catch (const std::bad_alloc&) {
    book_->error = kWorkbookOutOfMemory;
    return false;
  }
  U32(uint32_t(blockSizes.size()));
  size_t at = 0;
  for (uint16_t size : blockSizes) {
    U16(size);
    Put(records.data() + at, size);
    at += size;
  }
  return true;
}

}  // namespace

bool WriteBinaryBody(CWorkBook* book, BodySink* sink, bool valuesOnly) {
  BodyWriter writer(book, sink, valuesOnly);
  return writer.Write();
}
