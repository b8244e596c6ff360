// The step array: slots, levels, the redo tail, and releasing what records own.

#include "core/workbook/undo_history.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/styles/format_style_indexes.h"
#include "core/workbook/item_names.h"
#include "core/workbook/workbook.h"

UndoHistory::UndoHistory() {
  std::memset(records_, 0, sizeof records_);
  // Slot 0 keeps the default style and font, which counts of 0 stand for.
  styles_.Init();
  styles_.styleCount = 0;
  styles_.fontCount = 0;
}

bool UndoHistory::SetLevels(uint32_t levels) {
  if (levels < 1 || levels > kUndoMaxLevels)
    return false;
  const int32_t last = int32_t(levels) - 1;
  if (current_ > last) {
    // The newest steps stay: the oldest go and the rest move down.
    const int32_t drop = current_ - last;
    for (int32_t i = 0; i < drop; ++i) Free(i);
    std::memmove(&records_[0], &records_[drop], sizeof(UndoRecord) * size_t(current_ + 1 - drop));
    std::memset(&records_[current_ + 1 - drop], 0, sizeof(UndoRecord) * size_t(drop));
    current_ = last;
  }
  for (int32_t i = last + 1; i < kUndoScratchRecord; ++i) {
    Free(i);
    std::memset(&records_[i], 0, sizeof(UndoRecord));
  }
  lastAllowed_ = last;
  ReleaseUnusedStyles();
  return true;
}

int32_t UndoHistory::TakeSlot(int32_t index) {
  // Past the last allowed step the oldest goes, whatever the levels: the
  // scratch record is never handed out.
  if (index > lastAllowed_) {
    Free(0);
    std::memmove(&records_[0], &records_[1], sizeof(UndoRecord) * size_t(lastAllowed_));
    std::memset(&records_[lastAllowed_], 0, sizeof(UndoRecord));
    return lastAllowed_;
  }
  Free(index);
  std::memset(&records_[index], 0, sizeof(UndoRecord));
  return index;
}

int32_t UndoHistory::BeginStep(CWorkBook* book, uint8_t stepKind, const UndoRange& range) {
  const int32_t index = TakeSlot(current_ + 1);
  current_ = index;
  // A new step discards the redo tail.
  for (int32_t i = index + 1; i <= lastAllowed_; ++i) {
    Free(i);
    std::memset(&records_[i], 0, sizeof(UndoRecord));
  }
  UndoRecord& record = records_[index];
  record.stepKind = stepKind;
  record.sheetIndex = -1;
  record.itemIndex = -1;
  if (CWorkSheet* sheet = book->activeWorksheet) {
    sheet->GetFullPath(record.sheetPath, sizeof record.sheetPath);
    record.sheetIndex = book->IndexOfItem(sheet);
  }
  record.range = range;
  record.cursorColumn = range.firstColumn;
  record.cursorRow = range.firstRow;
  return index;
}

bool UndoHistory::FailStep(CWorkBook* book, int32_t index) {
  Free(index);
  std::memset(&records_[index], 0, sizeof(UndoRecord));
  current_ = index - 1;
  book->error = kWorkbookOutOfMemory;
  return false;
}

void UndoHistory::Free(int32_t index) {
  if (index < 0 || index >= kUndoRecordCount)
    return;
  UndoRecord& record = records_[index];
  switch (record.storageKind) {
    case kUndoOwnsValue:
      std::free(record.text);
      record.text = nullptr;
      break;
    case kUndoOwnsCells:
    case kUndoOwnsFormats:
    case kUndoOwnsCellsAndFormats:
      delete record.snapshot;
      record.snapshot = nullptr;
      break;
    case kUndoOwnsContainer:
      if (record.container) {
        record.container->Clear();
        delete record.container;
      }
      record.container = nullptr;
      break;
    case kUndoOwnsItems:
      while (CWorkSheetTree::CTreeItem* item = record.items) {
        record.items = item->next;
        delete item;
      }
      break;
    case kUndoOwnsPermutation:
      std::free(record.permutation);
      record.permutation = nullptr;
      break;
    default:
      break;
  }
  delete record.rewrittenFormulas;
  record.rewrittenFormulas = nullptr;
  delete record.keptTexts;
  record.keptTexts = nullptr;
  record.storageKind = kUndoOwnsNothing;
}

void UndoHistory::FreeAll() {
  for (int32_t i = 0; i < kUndoRecordCount; ++i) Free(i);
  std::memset(records_, 0, sizeof records_);
  current_ = -1;
  ReleaseUnusedStyles();
}

void UndoHistory::DropLast(bool free) {
  if (current_ < 0)
    return;
  if (free)
    Free(current_);
  std::memset(&records_[current_], 0, sizeof(UndoRecord));
  --current_;
}

bool UndoHistory::HoldsStyles(const UndoRecord& record) const {
  // Column and row steps keep only sizes in their snapshots.
  if (record.stepKind == kUndoStepColumns || record.stepKind == kUndoStepRows)
    return false;
  return record.storageKind == kUndoOwnsFormats || record.storageKind == kUndoOwnsCellsAndFormats ||
         record.storageKind == kUndoOwnsItems;
}

void UndoHistory::PrepareStyles() {
  bool held = false;
  for (const UndoRecord& record : records_) held = held || HoldsStyles(record);
  // Compacting walks every snapshot, so it waits until the table fills up.
  if (!held || styles_.styleCount > StyleTable::kMaxStyles - 64 || styles_.fontCount > StyleTable::kMaxFonts - 16)
    ReleaseUnusedStyles();
}

void UndoHistory::ReleaseUnusedStyles() {
  SheetFormat* formats[kUndoRecordCount * 4];
  uint32_t count = 0;
  for (const UndoRecord& record : records_) {
    if (!HoldsStyles(record))
      continue;
    if (record.storageKind != kUndoOwnsItems) {
      formats[count++] = &record.snapshot->format;
      continue;
    }
    // Chains hold any number of worksheets: those past the list's room keep
    // the table as it is rather than lose their styles.
    for (CWorkSheetTree::CTreeItem* item = record.items; item; item = item->next) {
      if (CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
        if (count == sizeof formats / sizeof formats[0])
          return;
        formats[count++] = &sheet->format;
      }
    }
  }
  if (count == 0) {
    styles_.styleCount = 0;
    styles_.fontCount = 0;
    return;
  }
  CompactFormatStyles(&styles_, formats, count);
}

bool UndoHistory::CheckInvariants() const {
  if (current_ < -1 || current_ > lastAllowed_ || lastAllowed_ >= kUndoScratchRecord)
    return false;
  if (records_[kUndoScratchRecord].storageKind != kUndoOwnsNothing ||
      records_[kUndoScratchRecord].stepKind != kUndoStepNone)
    return false;
  for (int32_t i = 0; i <= current_; ++i)
    if (records_[i].stepKind == kUndoStepNone)
      return false;
  for (int32_t i = lastAllowed_ + 1; i < kUndoRecordCount; ++i)
    if (records_[i].storageKind != kUndoOwnsNothing || records_[i].stepKind != kUndoStepNone)
      return false;
  return true;
}

bool UndoHistory::MakeUniqueName(CWorkSheetTree::CTreeItem* item) {
  if (!FindSiblingNamed(item, item->name))
    return false;
  char base[kTreeItemNameSize];
  std::memcpy(base, item->name, sizeof base);
  size_t baseLength = std::strlen(base);
  uint32_t number = 1;
  // A name that already ends in "(n)" goes on from n.
  const char* open = std::strrchr(base, '(');
  if (open && baseLength >= 3 && base[baseLength - 1] == ')') {
    const size_t digits = baseLength - 2 - size_t(open - base);
    uint32_t value = 0;
    bool numeric = digits > 0 && digits <= 9;
    for (size_t i = 1; numeric && i <= digits; ++i) {
      numeric = open[i] >= '0' && open[i] <= '9';
      value = value * 10 + uint32_t(open[i] - '0');
    }
    if (numeric) {
      number = value + 1;
      baseLength = size_t(open - base);
    }
  }
  // Each sibling can take one number at most, so one more try than there
  // are siblings always finds a free name.
  uint32_t siblings = 0;
  for (const CWorkSheetTree::CTreeItem* other = item->next; other && other->depth >= item->depth; other = other->next)
    ++siblings;
  for (const CWorkSheetTree::CTreeItem* other = item->previous; other && other->depth >= item->depth;
       other = other->previous)
    ++siblings;
  for (uint32_t tries = 0; tries <= siblings; ++tries, ++number) {
    char suffix[16];
    const int suffixLength = std::snprintf(suffix, sizeof suffix, "(%u)", unsigned(number));
    const size_t keep = std::min(baseLength, kTreeItemNameSize - 1 - size_t(suffixLength));
    char candidate[kTreeItemNameSize];
    std::memcpy(candidate, base, keep);
    std::memcpy(candidate + keep, suffix, size_t(suffixLength) + 1);
    if (!FindSiblingNamed(item, candidate)) {
      item->SetName(candidate);
      return true;
    }
  }
  return false;
}
