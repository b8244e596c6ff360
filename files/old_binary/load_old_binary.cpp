// The older binary workbook format, read only: the signature, the
// drop-down lists, the style and font tables, then the tree items with
// their worksheets, converted into the current model on the way.

#include <cstdio>
#include <cstring>
#include <new>

#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"
#include "files/errors/file_errors.h"
#include "files/old_binary/old_binary.h"
#include "files/old_binary/old_binary_source.h"

namespace {

using CTreeItem = CWorkSheetTree::CTreeItem;

constexpr char kOldSignature[12] = "Talvero6000";
constexpr uint8_t kFlagWithoutCount = 0x40;
constexpr size_t kListRecordSize = 60;
constexpr size_t kListSlotOffset = 52;
constexpr size_t kItemHeadSize = 96;
constexpr size_t kItemKindOffset = 52;
constexpr size_t kItemLevelOffset = 56;
constexpr size_t kItemFlagOffset = 76;
constexpr uint32_t kOldWorksheetKind = 1;
constexpr size_t kTextPiece = 4096;

// A name that ends at its terminator or at the field's end.
void CopyName(const uint8_t* field, size_t fieldSize, char* out, size_t size) {
  const char* text = reinterpret_cast<const char*>(field);
  size_t length = strnlen(text, fieldSize);
  if (length > size - 1)
    length = size - 1;
  std::memcpy(out, text, length);
  out[length] = 0;
}

// The items of a list's text, split at every run of CR and LF; only added
// when the slot exists. The text is read in pieces, so that its length
// costs no memory.
void ReadListItems(OldBinarySource& in, uint32_t length, DropDownList* list) {
  char item[kDropDownEntryMaxLength + 1];
  size_t used = 0;
  bool pending = false;
  bool afterBreak = false;
  char piece[kTextPiece];
  for (uint32_t done = 0; done < length;) {
    const size_t count = length - done < kTextPiece ? length - done : kTextPiece;
    in.Read(piece, count);
    done += uint32_t(count);
    for (size_t i = 0; i < count; ++i) {
      const char c = piece[i];
      if (c == '\r' || c == '\n') {
        if (!afterBreak && list) {
          item[used] = 0;
          if (!list->AppendEntry(item))
            ThrowOldBinaryError(kFileOutOfMemory);
        }
        used = 0;
        pending = false;
        afterBreak = true;
        continue;
      }
      afterBreak = false;
      pending = true;
      if (used < kDropDownEntryMaxLength)
        item[used++] = c;
    }
  }
  if (pending && list) {
    item[used] = 0;
    if (!list->AppendEntry(item))
      ThrowOldBinaryError(kFileOutOfMemory);
  }
}

void ReadLists(OldBinarySource& in, CWorkBook* book) {
  const uint32_t count = in.U32();
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t record[kListRecordSize];
    in.Read(record, sizeof record);
    const uint32_t slot = OldU32At(record + kListSlotOffset);
    const uint32_t length = in.U32();
    DropDownList* list = slot < kDropDownListCount ? &book->dropDownLists[slot] : nullptr;
    if (list) {
      CopyName(record, kListSlotOffset, list->name, sizeof list->name);
      // A slot without a name of its own would read as unused.
      if (length == 0 || !list->name[0])
        std::snprintf(list->name, sizeof list->name, "List %u.", unsigned(slot));
    }
    ReadListItems(in, length, list);
  }
}

class OldFileReader {
 public:
  OldFileReader(OldBinarySource& in, CWorkBook* book) : in_(in), book_(book) {}

  void Read() {
    char signature[12];
    in_.Read(signature, sizeof signature);
    if (std::memcmp(signature, kOldSignature, sizeof signature) != 0)
      ThrowOldBinaryError(kFileBadFormat);
    if (in_.U8() & ~kFlagWithoutCount)
      ThrowOldBinaryError(kFileBadFormat);
    in_.Skip(in_.U32());
    ReadLists(in_, book_);
    for (int i = 0; i < 3; ++i) in_.U32();
    ReadOldStyles(in_, book_);
    while (in_.Size() - in_.Position() > 1) ReadItem();
  }

 private:
  void ReadItem() {
    const uint32_t length = in_.U32();
    if (length < kItemHeadSize)
      ThrowOldBinaryError(kFileBadFormat);
    const uint64_t end = in_.Position() + length;
    uint8_t head[kItemHeadSize];
    in_.Read(head, sizeof head);
    char name[kTreeItemNameSize];
    CopyName(head, kItemKindOffset, name, sizeof name);
    // Levels the tree cannot hold are brought within its rule: at most one
    // below a folder before, never below a worksheet before.
    const uint32_t level = OldU32At(head + kItemLevelOffset);
    const uint32_t deepest = !last_ ? 1u : last_->IsFolder() ? last_->depth + 1u : last_->depth;
    const uint16_t depth = uint16_t(level < 1 ? 1 : level > deepest ? deepest : level);
    if (OldU32At(head + kItemKindOffset) != kOldWorksheetKind) {
      CTreeItem* folder = NewFolderItem(name, depth, uint8_t(OldU32At(head + kItemFlagOffset) != 0));
      if (!folder)
        ThrowOldBinaryError(kFileOutOfMemory);
      book_->AppendLoadedItem(folder, &last_);
      in_.Skip(end - in_.Position());
      return;
    }
    CWorkSheet* sheet = NewWorksheet(name, depth);
    if (!sheet)
      ThrowOldBinaryError(kFileOutOfMemory);
    book_->AppendLoadedItem(sheet, &last_);
    if (!book_->activeWorksheet)
      book_->activeWorksheet = sheet;
    in_.LimitTo(end);
    ReadWorksheet(sheet);
    in_.ClearLimit();
  }

  void ReadWorksheet(CWorkSheet* sheet) {
    ReadOldObjects(in_, sheet, &ids_);
    if (in_.U32() != 0)
      ThrowOldBinaryError(kFileBadFormat);
    ReadOldPageSettings(in_, &sheet->pageSettings);
    in_.Skip(32);
    in_.U32();
    in_.U32();
    ReadOldWorksheetFormats(in_, book_, sheet);
    const bool wideRows = in_.U8() != 0;
    ReadOldCells(in_, book_, sheet, wideRows);
  }

  OldBinarySource& in_;
  CWorkBook* book_;
  CTreeItem* last_ = nullptr;
  ContainerIdSet ids_;
};

}  // namespace

bool CWorkBook::LoadOldBinary() {
  error = 0;
  if (!bufferedFile.file) {
    error = kFileReadError;
    return false;
  }
  OldBinarySource in(bufferedFile.file);
  try {
    OldFileReader(in, this).Read();
  } catch (int code) {
    error = uint8_t(code);
  } catch (const std::bad_alloc&) {
    error = kFileOutOfMemory;
  }
  if (!error && !worksheetCount)
    error = kFileNoWorksheet;
  if (error) {
    // Nothing of a refused file stays, as with the other native kinds.
    const uint8_t code = error;
    Clear();
    error = code;
    return false;
  }
  evaluator.owner = this;
  evaluator.sheet = &activeWorksheet->cells;
  return true;
}
