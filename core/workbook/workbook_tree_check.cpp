#include <cstdarg>
#include <cstdio>

#include "core/workbook/container_id_set.h"
#include "core/workbook/workbook.h"

namespace {

bool Fail(char* message, size_t capacity, const char* format, ...) {
  if (message && capacity > 0) {
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, capacity, format, arguments);
    va_end(arguments);
  }
  return false;
}

}  // namespace

bool CWorkBook::CheckTreeInvariants(char* message, size_t capacity) const {
  uint32_t sheets = 0;
  uint32_t folders = 0;
  bool activeListed = false;
  ContainerIdSet ids;
  int32_t index = 0;
  const CTreeItem* previous = nullptr;
  for (const CTreeItem* item = firstItem; item; previous = item, item = item->next, ++index) {
    if (item->previous != previous)
      return Fail(message, capacity, "item %d: previous link broken", index);
    if (item->name[kTreeItemNameSize - 1] != '\0')
      return Fail(message, capacity, "item %d: name not terminated", index);
    if (item->depth < 1)
      return Fail(message, capacity, "item %d: depth 0", index);
    if (!previous && item->depth != 1)
      return Fail(message, capacity, "first item at depth %u", unsigned(item->depth));
    if (previous && item->depth > previous->depth + 1)
      return Fail(message, capacity, "item %d: depth %u after depth %u", index, unsigned(item->depth),
                  unsigned(previous->depth));
    if (previous && item->depth > previous->depth && !previous->IsFolder())
      return Fail(message, capacity, "item %d: deeper than the worksheet before it", index);
    if (const CWorkSheet* sheet = CWorkSheet::FromItem(item)) {
      ++sheets;
      if (item->cellStore != &sheet->cells)
        return Fail(message, capacity, "item %d: worksheet does not point at its own store", index);
      activeListed = activeListed || sheet == activeWorksheet;
      for (const ContainerRecord* container = sheet->containers; container; container = container->next) {
        if (container->next && container->next->previous != container)
          return Fail(message, capacity, "item %d: container list broken", index);
        const uint16_t id = container->header.id;
        if (id != 0 && ids.IsTaken(id))
          return Fail(message, capacity, "container id %u carried twice", unsigned(id));
        ids.Take(id);
      }
    } else if (item->IsFolder()) {
      ++folders;
      if (item->cellStore)
        return Fail(message, capacity, "item %d: folder with a cell store", index);
    } else {
      return Fail(message, capacity, "item %d: kind %u", index, unsigned(item->kind));
    }
  }
  if (sheets != worksheetCount || folders != folderCount)
    return Fail(message, capacity, "counts %u/%u, list holds %u/%u", unsigned(worksheetCount),
                unsigned(folderCount), unsigned(sheets), unsigned(folders));
  if (activeWorksheet && !activeListed)
    return Fail(message, capacity, "active worksheet not in the list");
  if (firstItem && sheets == 0)
    return Fail(message, capacity, "no worksheet");
  return true;
}
