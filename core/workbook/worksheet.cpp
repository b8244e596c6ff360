#include "core/workbook/worksheet.h"

#include <new>

CWorkSheet::CWorkSheet(const char* itemName, uint16_t itemDepth)
    : CTreeItem(itemName, itemDepth, kTreeItemWorksheet, 0) {
  cellStore = &cells;
  InitWorksheetViewFormat(&viewFormat);
  InitPageSettings(&pageSettings);
}

CWorkSheet::~CWorkSheet() {
  while (containers) {
    ContainerRecord* container = containers;
    containers = container->next;
    container->Clear();
    delete container;
  }
}

void CWorkSheet::AddContainer(ContainerRecord* container) {
  container->next = nullptr;
  container->previous = LastContainer();
  if (container->previous)
    container->previous->next = container;
  else
    containers = container;
}

void CWorkSheet::RemoveContainer(ContainerRecord* container) {
  ContainerRecord* listed = containers;
  while (listed && listed != container) listed = listed->next;
  if (!listed)
    return;
  if (container->previous)
    container->previous->next = container->next;
  else
    containers = container->next;
  if (container->next)
    container->next->previous = container->previous;
  container->previous = nullptr;
  container->next = nullptr;
}

ContainerRecord* CWorkSheet::LastContainer() const {
  ContainerRecord* last = containers;
  while (last && last->next) last = last->next;
  return last;
}

bool CWorkSheet::CopyContents(CWorkSheet* target) {
  if (!target->cells.CopyFrom(&cells))
    return false;
  if (!target->format.CopyFrom(&format))
    return false;
  // Containers overlap and are painted in list order, so the copies keep it.
  for (ContainerRecord* container = containers; container; container = container->next) {
    ContainerRecord* copy = container->Clone();
    if (!copy)
      return false;
    target->AddContainer(copy);
  }
  target->pageSettings = pageSettings;
  target->viewFormat = viewFormat;
  return true;
}

CWorkSheet* NewWorksheet(const char* name, uint16_t depth) {
  if (!TreeItemAllocationAllowed(sizeof(CWorkSheet)))
    return nullptr;
  return new (std::nothrow) CWorkSheet(name, depth);
}
