#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"

using CTreeItem = CWorkSheetTree::CTreeItem;

namespace {

void TakeWorkbookIds(const CTreeItem* first, ContainerIdSet* ids) {
  for (const CTreeItem* item = first; item; item = item->next)
    if (const CWorkSheet* sheet = CWorkSheet::FromItem(item))
      ids->TakeAll(sheet->containers);
}

// Copies one item; a worksheet with its contents. Null when out of memory.
CTreeItem* CopyItem(CTreeItem* source) {
  CWorkSheet* sourceSheet = CWorkSheet::FromItem(source);
  if (!sourceSheet)
    return NewFolderItem(source->name, source->depth, source->flag);
  CWorkSheet* copy = NewWorksheet(source->name, source->depth);
  if (copy && !sourceSheet->CopyContents(copy)) {
    delete copy;
    return nullptr;
  }
  return copy;
}

}  // namespace

bool CWorkBook::AssignContainerId(ContainerRecord* container) {
  ContainerIdSet ids;
  TakeWorkbookIds(firstItem, &ids);
  const uint16_t id = ids.TakeSmallestFree();
  if (!id) {
    error = kWorkbookTooManyContainers;
    return false;
  }
  container->header.id = id;
  return true;
}

ContainerRecord* CWorkBook::FindContainerById(uint16_t id) const {
  for (const CTreeItem* item = firstItem; item; item = item->next) {
    const CWorkSheet* sheet = CWorkSheet::FromItem(item);
    for (ContainerRecord* container = sheet ? sheet->containers : nullptr; container; container = container->next)
      if (container->header.id == id)
        return container;
  }
  return nullptr;
}

CTreeItem* CWorkBook::CopyTreeItems(CTreeItem* item) {
  if (!item)
    return nullptr;
  CTreeItem* chain = nullptr;
  CTreeItem* chainLast = nullptr;
  // Container ids are unique in the workbook; a copy that will stand beside
  // its original must not repeat them.
  ContainerIdSet ids;
  TakeWorkbookIds(firstItem, &ids);
  for (CTreeItem* source = item; source; source = source->next) {
    if (source != item && source->depth <= item->depth)
      break;
    CTreeItem* copy = CopyItem(source);
    uint8_t failure = copy ? kWorkbookNoError : kWorkbookOutOfMemory;
    if (CWorkSheet* sheet = CWorkSheet::FromItem(copy)) {
      for (ContainerRecord* container = sheet->containers; container && !failure; container = container->next) {
        container->header.id = ids.TakeSmallestFree();
        if (!container->header.id)
          failure = kWorkbookTooManyContainers;
      }
    }
    if (failure) {
      delete copy;
      DeleteItems(chain);
      error = failure;
      return nullptr;
    }
    copy->previous = chainLast;
    if (chainLast)
      chainLast->next = copy;
    else
      chain = copy;
    chainLast = copy;
  }
  return chain;
}
